// The vector-file device "PDF": a single-page PDF 1.4 file of the whole page for papers
// and printing, written by a small writer of its own (objects, cross-reference table,
// trailer) with the drawing deflated by libdeflate.
// The PDF writer: the drawing is collected as path operators in page points, one stroke per
// group of polylines of one pen, one fill per polygon, in pieces of bounded size; the file
// is catalog, page tree, page, the deflated content streams, document information,
// cross-reference table with the exact offsets, trailer.
#include <libdeflate.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
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

// libdeflate at its fastest level: a tenth of the time of zlib's default level, a sixth of
// zlib's own fastest, for a file about a tenth larger than the default level's.
constexpr int kDeflateLevel = 1;

// The drawing is collected in pieces of at most this many bytes. A drawing that fits in
// one is written as one content stream at the end; a longer one is deflated and written
// piece by piece as it grows, each piece a content stream of its own (the page lists them
// all, and a reader joins them), so that memory stays bounded and every byte is touched
// while it is still in the cache.
constexpr std::size_t kPiece = 1 << 20;
// Room for the longest operator a call appends (a pen's colour and width, a point).
constexpr std::size_t kOperatorRoom = 4 * kVectorNumberSize;

// "D:YYYYMMDDHHmmSS" from the library's date "dd.mm.yyyy" and time "hh:mm:ss".
std::string pdf_date(const std::string& d, const std::string& t) {
  if (d.size() != 10 || t.size() != 8) return "D:";
  return "D:" + d.substr(6, 4) + d.substr(3, 2) + d.substr(0, 2) + t.substr(0, 2) + t.substr(3, 2) +
         t.substr(6, 2);
}

class PdfDriver final : public VectorDriver {
 public:
  PdfDriver() : piece_(std::make_unique_for_overwrite<char[]>(kPiece + kOperatorRoom)) {}
  ~PdfDriver() override {
    if (compressor_ != nullptr) libdeflate_free_compressor(compressor_);
  }
  PdfDriver(const PdfDriver&) = delete;
  PdfDriver& operator=(const PdfDriver&) = delete;

 protected:
  // Page points to PDF points with y up, and the PostScript device's projecting square
  // caps (2 J) and bevel joins (2 j).
  void header(const DriverSetup& setup) override {
    page_ = setup.page;
    version_ = setup.version;
    date_ = pdf_date(setup.date, setup.time);
    append(vector_number(kPdfPointsPerPagePoint, 6) + " 0 0 -" +
           vector_number(kPdfPointsPerPagePoint, 6) + " 0 " + page_height() + " cm\n2 J 2 j\n");
  }
  void begin_group(const VectorPen& pen) override {
    append(component(pen.rgb.r) + ' ' + component(pen.rgb.g) + ' ' + component(pen.rgb.b) + " RG " +
           vector_number(pen.width) + " w\n");
  }
  void end_group() override { append("S\n"); }
  void begin_polyline(float x, float y) override { point_op(x, y, " m\n"); }
  void line_to(float x, float y) override { point_op(x, y, " l\n"); }
  void end_polyline() override {}
  void footer() override;
  void fill_polygon(const DevicePoint* points, int n, RgbColor rgb) override {
    append(component(rgb.r) + ' ' + component(rgb.g) + ' ' + component(rgb.b) + " rg\n");
    for (int i = 0; i < n; ++i) point_op(points[i].x, points[i].y, i == 0 ? " m\n" : " l\n");
    append("h f\n");
  }

 private:
  // Operators go into the piece whole: a piece ends between two of them.
  void room() {
    if (used_ > kPiece) flush_piece();
  }
  void append(std::string_view text) {
    room();
    if (text.size() > kOperatorRoom) {  // never for the operators above; kept safe
      flush_piece();
      write_stream(text);
      return;
    }
    std::memcpy(piece_.get() + used_, text.data(), text.size());
    used_ += text.size();
  }
  void point_op(float x, float y, const char (&op)[4]) {
    room();
    char* p = piece_.get() + used_;
    p = write_vector_number(p, x);
    *p++ = ' ';
    p = write_vector_number(p, y);
    std::memcpy(p, op, 3);
    used_ = static_cast<std::size_t>(p + 3 - piece_.get());
  }
  void flush_piece();
  void write_stream(std::string_view content);
  void put(std::string_view text) {
    if (out() != nullptr) out()->put(text);
    written_ += text.size();
  }
  // Starts the object numbered `number` at the current end of the file.
  void begin_object(int number) {
    if (offsets_.size() < static_cast<std::size_t>(number)) offsets_.resize(number);
    offsets_[number - 1] = written_;
    put(std::to_string(number) + " 0 obj\n");
  }
  void object(int number, const std::string& body) {
    begin_object(number);
    put(body + "\nendobj\n");
  }
  void file_head();
  // The page's extents in PDF points: page_nx + 1 page points across.
  std::string page_width() const { return vector_number((page_.nx + 1) * kPdfPointsPerPagePoint); }
  std::string page_height() const { return vector_number((page_.ny + 1) * kPdfPointsPerPagePoint); }

  DriverPage page_;
  float version_ = 0.0f;
  std::string date_;
  std::unique_ptr<char[]> piece_;
  std::size_t used_ = 0;
  libdeflate_compressor* compressor_ = nullptr;
  std::unique_ptr<char[]> packed_;
  std::size_t packed_room_ = 0;
  bool compressor_failed_ = false;
  std::size_t written_ = 0;
  std::vector<std::size_t> offsets_;  // of the objects 1, 2, ... (0: not written yet)
  std::vector<int> contents_;         // the content streams' object numbers
};

// Catalog (1) and page tree (2); the page is object 3, the document information 5, the
// content streams 4 and from 6 on.
void PdfDriver::file_head() {
  put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
}

// A content stream of the drawing, deflated (without the compressor the drawing goes into
// the file as it is rather than not at all).
void PdfDriver::write_stream(std::string_view content) {
  if (contents_.empty() && offsets_.empty()) file_head();
  const int number = contents_.empty() ? 4 : std::max(6, static_cast<int>(offsets_.size()) + 1);
  contents_.push_back(number);
  if (compressor_ == nullptr && !compressor_failed_) {
    compressor_ = libdeflate_alloc_compressor(kDeflateLevel);
    compressor_failed_ = compressor_ == nullptr;
  }
  std::size_t size = 0;
  if (compressor_ != nullptr) {
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor_, content.size());
    if (bound > packed_room_) {
      packed_ = std::make_unique_for_overwrite<char[]>(bound);
      packed_room_ = bound;
    }
    size = libdeflate_zlib_compress(compressor_, content.data(), content.size(), packed_.get(),
                                    packed_room_);
  }
  const bool deflated = size != 0;
  const std::string_view stream = deflated ? std::string_view(packed_.get(), size) : content;
  begin_object(number);
  put("<< /Length " + std::to_string(stream.size()) + (deflated ? " /Filter /FlateDecode" : "") +
      " >>\nstream\n");
  put(stream);
  put("\nendstream\nendobj\n");
}

void PdfDriver::flush_piece() {
  write_stream(std::string_view(piece_.get(), used_));
  used_ = 0;
}

void PdfDriver::footer() {
  // A drawing in one piece keeps the order of the objects 1 to 5; a longer one has its
  // page after its content streams.
  if (contents_.empty()) {
    file_head();
    object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + page_width() + ' ' + page_height() +
                  "] /Resources << >> /Contents 4 0 R >>");
    flush_piece();
  } else {
    if (used_ > 0) flush_piece();
    std::string list = "[";
    for (int number : contents_) list += std::to_string(number) + " 0 R ";
    list.back() = ']';
    object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + page_width() + ' ' + page_height() +
                  "] /Resources << >> /Contents " + list + " >>");
  }
  char version[16];
  std::snprintf(version, sizeof version, "%.1f", static_cast<double>(version_));
  object(5, "<< /Producer (STYLUS " + std::string(version) + ") /CreationDate (" + date_ + ") >>");

  const std::size_t xref = written_;
  std::string table = "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
  for (std::size_t offset : offsets_) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    table += entry;
  }
  table += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) +
           " /Root 1 0 R /Info 5 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  put(table);
}

}  // namespace

std::unique_ptr<Driver> make_pdf_driver(const DeviceRecord& /*device*/, DriverMemory& /*memory*/) {
  return std::make_unique<PdfDriver>();
}

}  // namespace stylus
