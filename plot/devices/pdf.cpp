// The vector-file device "PDF": a single-page PDF 1.4 file of the whole page for papers
// and printing, written by a small writer of its own (objects, cross-reference table,
// trailer) with the drawing deflated by zlib.
// The PDF writer: the drawing is collected as path operators in page points, one stroke per
// group of polylines of one pen, one fill per polygon; the end of the session assembles the
// file (catalog, page tree, page, deflated content stream, document information,
// cross-reference table with the exact offsets, trailer) and writes it into the session's
// output in one piece.
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "devices/device_table.h"
#include "devices/vector_driver.h"
#include "records/state.h"
#include "stylus.h"

namespace stylus {
namespace {

constexpr double kPdfPointsPerPagePoint = 72.0 / 254.0;  // a page point is 0.1 mm

// A colour component 0..255 as a PDF colour value 0..1.
std::string component(int c) {
  return vector_number((c & 0xff) / 255.0, 4);
}

// The content stream deflated into a zlib stream for /FlateDecode; empty when zlib fails.
std::string deflate_content(const std::string& content) {
  uLongf size = compressBound(static_cast<uLong>(content.size()));
  std::string packed(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                reinterpret_cast<const Bytef*>(content.data()), static_cast<uLong>(content.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    return {};
  }
  packed.resize(size);
  return packed;
}

// "D:YYYYMMDDHHmmSS" from the library's date "dd.mm.yyyy" and time "hh:mm:ss".
std::string pdf_date(const std::string& d, const std::string& t) {
  if (d.size() != 10 || t.size() != 8) return "D:";
  return "D:" + d.substr(6, 4) + d.substr(3, 2) + d.substr(0, 2) + t.substr(0, 2) + t.substr(3, 2) +
         t.substr(6, 2);
}

class PdfDriver final : public VectorDriver {
 protected:
  // Page points to PDF points with y up, and the PostScript device's projecting square
  // caps (2 J) and bevel joins (2 j).
  void header(const DriverSetup& setup) override {
    page_ = setup.page;
    version_ = setup.version;
    date_ = pdf_date(setup.date, setup.time);
    content_ = vector_number(kPdfPointsPerPagePoint, 6) + " 0 0 -" +
               vector_number(kPdfPointsPerPagePoint, 6) + " 0 " + page_height() + " cm\n2 J 2 j\n";
  }
  void begin_group(const VectorPen& pen) override {
    content_ += component(pen.rgb.r) + ' ' + component(pen.rgb.g) + ' ' + component(pen.rgb.b) +
                " RG " + vector_number(pen.width) + " w\n";
  }
  void end_group() override { content_ += "S\n"; }
  void begin_polyline(float x, float y) override { point_op(x, y, " m\n"); }
  void line_to(float x, float y) override { point_op(x, y, " l\n"); }
  void end_polyline() override {}
  void footer() override;
  void fill_polygon(const DevicePoint* points, int n, RgbColor rgb) override {
    content_ += component(rgb.r) + ' ' + component(rgb.g) + ' ' + component(rgb.b) + " rg\n";
    for (int i = 0; i < n; ++i) point_op(points[i].x, points[i].y, i == 0 ? " m\n" : " l\n");
    content_ += "h f\n";
  }

 private:
  void point_op(float x, float y, const char* op) {
    append_vector_number(content_, x);
    content_ += ' ';
    append_vector_number(content_, y);
    content_ += op;
  }
  // The page's extents in PDF points: page_nx + 1 page points across.
  std::string page_width() const { return vector_number((page_.nx + 1) * kPdfPointsPerPagePoint); }
  std::string page_height() const { return vector_number((page_.ny + 1) * kPdfPointsPerPagePoint); }

  DriverPage page_;
  float version_ = 0.0f;
  std::string date_;
  std::string content_;
};

void PdfDriver::footer() {
  std::string file = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::vector<std::size_t> offsets;
  const auto object = [&](const std::string& body) {
    offsets.push_back(file.size());
    file += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
  };
  object("<< /Type /Catalog /Pages 2 0 R >>");
  object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + page_width() + ' ' + page_height() +
         "] /Resources << >> /Contents 4 0 R >>");
  // Without zlib's help the drawing goes into the file as it is rather than not at all.
  const std::string packed = deflate_content(content_);
  const bool deflated = !packed.empty();
  const std::string& stream = deflated ? packed : content_;
  object("<< /Length " + std::to_string(stream.size()) + (deflated ? " /Filter /FlateDecode" : "") +
         " >>\nstream\n" + stream + "\nendstream");
  char version[16];
  std::snprintf(version, sizeof version, "%.1f", static_cast<double>(version_));
  object("<< /Producer (STYLUS " + std::string(version) + ") /CreationDate (" + date_ + ") >>");

  const std::size_t xref = file.size();
  file += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
  for (std::size_t offset : offsets) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    file += entry;
  }
  file += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
          " /Root 1 0 R /Info 5 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  if (out() != nullptr) out()->put(file);
}

}  // namespace

std::unique_ptr<Driver> make_pdf_driver(const DeviceRecord& /*device*/, DriverMemory& /*memory*/) {
  return std::make_unique<PdfDriver>();
}

}  // namespace stylus
