// The SVG, PDF, PNG and TikZ exports against the EPS: each is rendered
// (rsvg-convert, pdftoppm, pdflatex, Ghostscript for the EPS) at 150 dpi
// and its ink compared pixel by pixel with the EPS's; the SVG is parsed,
// the TikZ compiled; failures leave no broken file behind.
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/recompute.h"
#include "export/backends.h"
#include "export/export.h"
#include "language/parser.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "render/markup.h"
#include "render/view.h"
#include "tests/everything.h"

namespace {

using namespace everything;

std::string workdir;
std::string lastalert;

void keepalert(const char* text) { lastalert = text; }

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

int run(const std::string& cmd) { return system((cmd + " >/dev/null 2>&1").c_str()); }

struct Export : ::testing::Test {
  void SetUp() override {
    resetall();
    alerthook = keepalert;
    lastalert.clear();
    workdir = std::string(TESSARIN_BINARY_DIR "/export-test/") +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_EQ(run("rm -rf '" + workdir + "' && mkdir -p '" + workdir + "'"), 0);
    view(400, 450);
  }
  void TearDown() override { resetall(); }
  static void view(int w, int h) {
    xsize = w, ysize = h;
    recalcsizes(1);
  }
};

// Reads a diagram as tessarin-cli does.
void load(const std::string& path) {
  clearbuffer();
  ASSERT_TRUE(readgeometry(path.c_str())) << path;
  checkconstraints();
  updateminlayer();
}

// Writes the view to workdir/name + ext with the value columns where a
// frame starts them.
int write(const std::string& name, int format) {
  ym = 0.9f, yinfo = -0.5;
  return exportfile((workdir + "/" + name + exportextension(format)).c_str(),
                    format);
}

// Labels, values and texts removed: what TikZ sets in the document's own
// fonts is compared apart from the drawing.
void striptext() {
  for (primitive* list : {plist, macroplist})
    for (primitive* p = list; p; p = p->next) {
      free(p->label);
      p->label = nullptr;
    }
  showinfo = 0;
}

#ifdef TESSARIN_HAVE_PNG
// A pixel carries ink when it is not white paper: antialiasing spreads a
// line thinner than a pixel (0.4 points is 0.83 pixels) into light grey.
bool ink(const unsigned char* p) {
  int lo = std::min({p[0], p[1], p[2]}), hi = std::max({p[0], p[1], p[2]});
  return lo < 215 || hi - lo > 60;
}

// The share of a's ink with no ink of b within `r` pixels (over the size
// both images have: renderers round the page's 833.3 pixels differently).
double stray(const image& a, const image& b, int* inked, int r = 1) {
  int w = std::min(a.w, b.w), h = std::min(a.h, b.h), far = 0;
  *inked = 0;
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      if (!ink(a.at(x, y))) continue;
      ++*inked;
      int near = 0;
      for (int j = -r; j <= r && !near; j++)
        for (int i = -r; i <= r && !near; i++) {
          int u = x + i, v = y + j;
          near = u >= 0 && v >= 0 && u < w && v < h && ink(b.at(u, v));
        }
      far += !near;
    }
  return *inked ? (double)far / *inked : 0;
}

// Both ways: at most `limit` of the ink of one lacks the other's within a
// pixel, and next to none (0.3%) within three: nothing is missing or out of
// place. Lines that start far outside the view are dashed by Ghostscript
// with a drift of its own (the same line cut at the view's edge with the
// matching dash offset renders differently), hence a looser `limit` for
// diagrams with long dotted lines.
void expectsame(const std::string& a, const std::string& b, double limit) {
  image A, B;
  ASSERT_TRUE(readpng(a, &A)) << a;
  ASSERT_TRUE(readpng(b, &B)) << b;
  EXPECT_LE(std::abs(A.w - B.w) + std::abs(A.h - B.h), 2) << a << " " << b;
  int na, nb;
  double ab = stray(A, B, &na), ba = stray(B, A, &nb);
  EXPECT_GT(na, 200) << a << ": nothing drawn";
  EXPECT_LE(ab, limit) << a << " has ink far from " << b;
  EXPECT_LE(ba, limit) << b << " has ink far from " << a;
  EXPECT_LE(stray(A, B, &na, 3), 0.003) << a << " lacks ink of " << b;
  EXPECT_LE(stray(B, A, &nb, 3), 0.003) << b << " lacks ink of " << a;
}

std::string epsrender(const std::string& base) {
  run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r150 -dTextAlphaBits=4 "
      "-dGraphicsAlphaBits=4 -sDEVICE=png16m -sOutputFile='" + base +
      "-eps.png' '" + base + ".eps'");
  return base + "-eps.png";
}

// Every example, and a diagram of every record type with every mark and
// markup item: PNG, SVG and PDF with their text, TikZ (set in TeX's fonts)
// without it. All TikZ pictures are compiled in one pdflatex run.
TEST_F(Export, EveryFormatDrawsWhatTheEpsDraws) {
  if (run("gs --version") || run("rsvg-convert --version") ||
      run("pdftoppm -v") || run("pdflatex --version"))
    GTEST_SKIP() << "a renderer is missing";
  std::vector<std::string> names;
  std::vector<double> limits;
  std::string doc =
      "\\RequirePackage{fix-cm}\\documentclass[tikz]{standalone}\n"
      "\\usepackage{amsmath,amssymb}\n\\begin{document}\n";
  const char* examples[] = {"centres", "conic",  "expression", "forms",
                            "layers",  "macro",  "tangents",   "everything"};
  for (const char* name : examples) {
    resetall();
    view(400, 450);
    if (std::string(name) == "everything")
      buildeverything();
    else
      load(std::string(TESSARIN_SOURCE_DIR "/examples/") + name + ".T");
    std::string base = workdir + "/" + name;
    for (int f : {EXPORT_EPS, EXPORT_PNG, EXPORT_SVG, EXPORT_PDF})
      ASSERT_TRUE(write(name, f)) << name << lastalert;
    std::string eps = epsrender(base);
    run("rsvg-convert --dpi-x 150 --dpi-y 150 -b white '" + base + ".svg' -o '" +
        base + "-svg.png'");
    run("pdftoppm -r 150 -png -singlefile '" + base + ".pdf' '" + base + "-pdf'");
    double limit = std::string(name) == "macro" ? 0.06 : 0.02;
    for (const char* f : {".png", "-svg.png", "-pdf.png"})
      expectsame(eps, base + f, limit);
    striptext();
    std::string bare = std::string(name) + "-bare";
    ASSERT_TRUE(write(bare, EXPORT_EPS));
    ASSERT_TRUE(write(bare, EXPORT_TIKZ));
    names.push_back(bare);
    limits.push_back(limit);
    doc += "\\input{" + bare + ".tex}\n";
  }
  std::ofstream(workdir + "/all.tex") << doc << "\\end{document}\n";
  EXPECT_EQ(run("cd '" + workdir +
                "' && pdflatex -interaction=nonstopmode -halt-on-error all.tex"),
            0)
      << slurp(workdir + "/all.log");
  run("pdftoppm -r 150 -png '" + workdir + "/all.pdf' '" + workdir + "/tikz'");
  for (size_t i = 0; i < names.size(); i++) {
    char page[32];
    snprintf(page, sizeof page, "/tikz-%d.png", (int)i + 1);
    expectsame(epsrender(workdir + "/" + names[i]), workdir + page, limits[i]);
  }
}

// A drawing two pixels off (across and down) is caught: the comparison is not blind.
TEST_F(Export, TheComparisonSeesAShiftOfTwoPixels) {
  load(TESSARIN_SOURCE_DIR "/examples/centres.T");
  ASSERT_TRUE(write("a", EXPORT_PNG));
  image A, B;
  ASSERT_TRUE(readpng(workdir + "/a.png", &A));
  B = A;
  for (int y = 0; y < A.h; y++)
    for (int x = 0; x < A.w; x++)
      for (int k = 0; k < 3; k++)
        B.rgb[3 * (y * A.w + x) + k] =
            x >= 2 && y >= 2 ? A.at(x - 2, y - 2)[k] : 255;
  int n;
  EXPECT_EQ(stray(A, A, &n), 0);
  EXPECT_GT(stray(A, B, &n), 0.2);
}
#endif

// An image drawn in bands on threads is the image drawn whole, opaque or
// transparent, whatever rows the bands split at (938 rows in 1, 2 and 3).
TEST_F(Export, BandsGiveThePixelsOfOneImage) {
  buildeverything();
  for (int transparent : {0, 1}) {
    exporttransparent = transparent;
    std::string whole;
    for (int threads : {1, 2, 3}) {
      exportthreads = threads;
      ASSERT_TRUE(write("bands", EXPORT_PNG)) << lastalert;
      std::string png = slurp(workdir + "/bands.png");
      EXPECT_GT(png.size(), 5000u);
      if (threads == 1) whole = png;
      EXPECT_TRUE(png == whole)
          << threads << " bands, transparent " << transparent;
    }
  }
}

// The SVG parses, names each drawn record's group after its identifier
// and keeps text as text and dashes as dash arrays.
TEST_F(Export, SvgIsWellFormedAndNamed) {
  if (run("xmllint --version")) GTEST_SKIP() << "xmllint is missing";
  load(TESSARIN_SOURCE_DIR "/tests/data/export_names.T");
  ASSERT_TRUE(write("names", EXPORT_SVG));
  std::string svg = workdir + "/names.svg";
  EXPECT_EQ(run("xmllint --noout '" + svg + "'"), 0) << slurp(svg);
  std::string s = slurp(svg);
  for (const char* id : {"P_1", "Q", "R", "M", "s", "t"})
    EXPECT_NE(s.find(std::string("<g id=\"") + id + "\">"), std::string::npos)
        << id;
  EXPECT_NE(s.find("&lt;&amp;&gt;</tspan>"), std::string::npos);
  EXPECT_NE(s.find("\xce\xb1</tspan>"), std::string::npos);  // \alpha
  resetall();
  view(400, 450);
  buildeverything();
  ASSERT_TRUE(write("all", EXPORT_SVG));
  EXPECT_EQ(run("xmllint --noout '" + workdir + "/all.svg'"), 0);
  s = slurp(workdir + "/all.svg");
  EXPECT_NE(s.find("stroke-dasharray=\"4 4\""), std::string::npos);  // .02 x 200
  EXPECT_NE(s.find("<circle cx=\"240\" cy=\"185\" r=\"60\""), std::string::npos);
}

// The PDF is read without a word of complaint by pdftoppm, Ghostscript and
// qpdf, and its text reads back as typed: ASCII, Greek and symbols, each
// letter once (its halo is no text).
TEST_F(Export, PdfReadsCleanlyAndKeepsItsText) {
  if (run("pdftoppm -v") || run("pdftotext -v") || run("gs --version"))
    GTEST_SKIP() << "a renderer is missing";
  int qpdf = !run("qpdf --version");
  for (const char* name : {"names", "everything"}) {
    resetall();
    view(400, 450);
    if (std::string(name) == "names") {
      load(TESSARIN_SOURCE_DIR "/tests/data/export_names.T");
    } else {
      buildeverything();
    }
    ASSERT_TRUE(write(name, EXPORT_PDF)) << lastalert;
    std::string pdf = "'" + workdir + "/" + name + ".pdf'";
    std::string out = workdir + "/said";
    std::vector<std::string> readers = {
        "pdftoppm -r 150 -png " + pdf + " '" + workdir + "/page'",
        "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage " + pdf,
        "pdftotext -enc UTF-8 " + pdf + " '" + workdir + "/" + name + ".txt'"};
    for (const std::string& r : readers) {
      EXPECT_EQ(system((r + " >'" + out + "' 2>&1").c_str()), 0) << r;
      EXPECT_EQ(slurp(out), "") << r;
    }
    // Exit status 0: no error and no warning.
    EXPECT_TRUE(!qpdf || run("qpdf --check " + pdf) == 0) << name;
  }
  std::string names = slurp(workdir + "/names.txt");
  for (const char* typed :
       {"a_b $x$ \\ {c} %#&~^ 'q' \\x", "<&>", "\xce\x94 ABC",
        "ABCD\xce\x91\xe2\x88\xb4\\", "\xce\xb1", "\xe2\x88\xa0"})
    EXPECT_NE(names.find(typed), std::string::npos) << typed << "\n" << names;
  std::string all = slurp(workdir + "/everything.txt");
  for (const char* typed : {"Text \xce\x94 ABC", "\xcf\x80 AB \xce\x91"})
    EXPECT_NE(all.find(typed), std::string::npos) << typed << "\n" << all;
}

// Names TikZ takes stay as typed; labels become math with the markup
// translated; the standalone document compiles with no undefined names.
TEST_F(Export, TikzKeepsNamesAndCompiles) {
  load(TESSARIN_SOURCE_DIR "/tests/data/export_names.T");
  exportstandalone = 1;
  std::string t = tikztext();
  const char* expected[] = {
      "\\coordinate (P_1) at (-0.5,-0.3);",
      "\\coordinate (M) at (-0.05,-0.05);",
      "\\draw[diagramblack, line width=0.4bp] (P_1) -- (Q);",
      "{$\\alpha {}_{1}{}^{2}\\overline{AB}\\overset{\\frown}{CD}A "
      "\\therefore \\backslash $}",
      "{$a\\_b\\ \\$x\\$\\ \\backslash \\ \\{c\\}\\ \\%\\#\\&\\sim "
      "\\text{\\textasciicircum}\\ 'q'\\ \\backslash x$}",
      "{$<\\&>$}",
      "\\documentclass[tikz]{standalone}",
  };
  for (const char* e : expected) EXPECT_NE(t.find(e), std::string::npos) << e;
  EXPECT_EQ(t.find("$m"), std::string::npos);  // no macro-made name leaks
  if (run("pdflatex --version")) GTEST_SKIP() << "pdflatex is missing";
  ASSERT_TRUE(write("names", EXPORT_TIKZ));
  EXPECT_EQ(run("cd '" + workdir +
                "' && pdflatex -interaction=nonstopmode -halt-on-error names.tex"),
            0);
  std::string log = slurp(workdir + "/names.log");
  EXPECT_EQ(log.find("ndefined"), std::string::npos) << log;
  EXPECT_EQ(log.find("\n!"), std::string::npos) << log;
}

// Failures: an unknown format, a missing folder, a file that outgrows what
// the system allows. The target keeps its old content and no temporary
// file is left beside it.
TEST_F(Export, FailuresLeaveNoBrokenFile) {
  buildeverything();
  EXPECT_FALSE(exportfile((workdir + "/x.doc").c_str(), EXPORT_NONE));
  EXPECT_NE(lastalert.find(".svg, .pdf, .png, .tex, .tikz, .eps"),
            std::string::npos);
  std::string missing = workdir + "/no/such/x.svg";
  EXPECT_FALSE(exportfile(missing.c_str(), EXPORT_SVG));
  EXPECT_EQ(lastalert, "Couldn't write " + missing + ": No such file or directory");
  std::string target = workdir + "/big.png";
  std::ofstream(target) << "old";
  signal(SIGXFSZ, SIG_IGN);
  rlimit keep, small = {2000, 2000};
  getrlimit(RLIMIT_FSIZE, &keep);
  small.rlim_max = keep.rlim_max;
  setrlimit(RLIMIT_FSIZE, &small);
  int ok = exportfile(target.c_str(), EXPORT_PNG);
  setrlimit(RLIMIT_FSIZE, &keep);
  EXPECT_FALSE(ok);
  EXPECT_EQ(lastalert, "Couldn't write " + target + ": File too large");
  EXPECT_EQ(slurp(target), "old");
  DIR* d = opendir(workdir.c_str());
  ASSERT_TRUE(d);
  std::string left;
  while (dirent* e = readdir(d))
    if (e->d_name[0] != '.' && std::string(e->d_name) != "big.png")
      left += std::string(e->d_name) + " ";
  closedir(d);
  EXPECT_EQ(left, "");
}

#ifdef TESSARIN_HAVE_PNG
// Rows packed in pieces apart (the last one short) make one PNG that
// libpng reads back, its check values verified, pixel for pixel; alpha a
// fifth of full, so that undoing the premultiplied colours is exact.
TEST_F(Export, PackedPiecesMakeOnePng) {
  const int w = 37, h = 70;
  for (int alpha : {0, 1}) {
    std::vector<uint32_t> px(w * h);
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++) {
        uint32_t c[3] = {5u * x, 5u * (51 - y % 52), 5u * ((x * y) % 52)};
        int a = !alpha || (x + y) % 3 ? 255 : 51;
        px[y * w + x] = (uint32_t)a << 24 | c[0] * a / 255 << 16 |
                        c[1] * a / 255 << 8 | c[2] * a / 255;
      }
    pngimage img = {(const unsigned char*)px.data(), w, h, 4 * w, alpha};
    std::vector<pngpiece> pieces(piececount(h));
    ASSERT_GE(pieces.size(), 3u);
    for (int i = (int)pieces.size() - 1; i >= 0; i--)
      ASSERT_TRUE(packpiece(&img, i, &pieces[i]));
    std::string path = workdir + "/pieces.png";
    FILE* out = fopen(path.c_str(), "wb");
    ASSERT_TRUE(writepixels(out, &img, pieces.data(), 150));
    fclose(out);
    png_image p;
    memset(&p, 0, sizeof p);
    p.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&p, path.c_str()));
    EXPECT_EQ(p.format & PNG_FORMAT_FLAG_ALPHA,
              alpha ? PNG_FORMAT_FLAG_ALPHA : 0u);
    p.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> got(PNG_IMAGE_SIZE(p));
    ASSERT_TRUE(png_image_finish_read(&p, nullptr, got.data(), 0, nullptr));
    ASSERT_EQ((int)p.width * (int)p.height, w * h);
    int wrong = 0;
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++) {
        const unsigned char* g = &got[4 * (y * w + x)];
        unsigned want[4] = {5u * x, 5u * (51 - y % 52), 5u * ((x * y) % 52),
                            !alpha || (x + y) % 3 ? 255u : 51u};
        for (int k = 0; k < 4; k++) wrong += g[k] != want[k];
      }
    EXPECT_EQ(wrong, 0) << "alpha " << alpha;
  }
  pngimage none = {nullptr, 0, 0, 0, 0};
  FILE* out = fopen((workdir + "/none.png").c_str(), "wb");
  EXPECT_FALSE(writepixels(out, &none, nullptr, 150));
  fclose(out);
}
#endif

// An empty diagram is an empty white page in every format.
TEST_F(Export, EmptyDiagramIsABlankPage) {
  for (int f : {EXPORT_SVG, EXPORT_PDF, EXPORT_PNG, EXPORT_TIKZ, EXPORT_EPS})
    EXPECT_TRUE(write("empty", f)) << exportname(f) << lastalert;
#ifdef TESSARIN_HAVE_PNG
  image im;
  ASSERT_TRUE(readpng(workdir + "/empty.png", &im));
  EXPECT_EQ(im.w, 833);  // 400 points at 150 dpi
  EXPECT_EQ(im.h, 938);
  int n;
  EXPECT_EQ(stray(im, im, &n), 0);
  EXPECT_EQ(n, 0);
#endif
  EXPECT_EQ(exportformatof("a.TIKZ"), EXPORT_TIKZ);
  EXPECT_EQ(exportformatof(".svg"), EXPORT_NONE);  // a name, no extension
}

}  // namespace
