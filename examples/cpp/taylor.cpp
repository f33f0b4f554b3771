// taylor: exp(x) and its Taylor polynomials of order 1 to 3 around 0, each curve in its own
// colour and line style, drawn in a session that a small class opens and closes. The device
// keyword is the first argument ("POST", PostScript, when none is given).
#include <stylus.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// One plot session: disini on construction, disfin when it goes out of scope.
class Session {
 public:
  explicit Session(const char* device) {
    metafl(device);
    disini();
  }
  ~Session() { disfin(); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
};

void plot(std::vector<float>& x, double (*f)(double, int), int order) {
  std::vector<float> y(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) y[i] = static_cast<float>(f(x[i], order));
  curve(x.data(), y.data(), static_cast<int>(x.size()));
}

// The Taylor polynomial of exp of the given order; order -1 is exp itself.
double taylor(double x, int order) {
  if (order < 0) return std::exp(x);
  double sum = 0.0, term = 1.0;
  for (int k = 0; k <= order; ++k) {
    sum += term;
    term *= x / (k + 1);
  }
  return sum;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<float> x(101);
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = -2.0f + 4.0f * static_cast<float>(i) / 100.0f;

  {
    Session session(argc > 1 ? argv[1] : "POST");
    setvlt("SMAL");  // white paper, black ink and seven pure colours
    name("x", "X");
    name("exp(x) and its Taylor polynomials", "Y");
    graf(-2.0f, 2.0f, -2.0f, 1.0f, -1.0f, 8.0f, -1.0f, 1.0f);
    linwid(3);
    const char* colours[] = {"RED", "GREE", "BLUE", "MAGE"};
    for (int order = -1; order <= 2; ++order) {
      color(colours[order + 1]);
      lintyp(order + 1);  // solid, dotted, dashed, chain
      plot(x, taylor, order < 0 ? order : order + 1);
    }
  }
  std::printf("warnings: %d\n", nwarns());
  return nwarns() == 0 ? 0 : 1;
}
