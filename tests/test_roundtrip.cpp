// Writing what was read and reading it again gives the same diagram: the
// same records, kinds, parents and properties, and values equal within the
// writer's rounding. Checked over every example and generated diagrams.

#include <cmath>
#include <sstream>

#include "bench/gendiagram.h"
#include "tests/langtest.h"

namespace {
using namespace langtest;

// Position of a record in the world list (or in its macro body), so that
// parents compare by place rather than by address.
std::string placeof(const primitive* p) {
  if (!p) return "-";
  return p->symbol ? std::string("'") + p->symbol->name + "'" : "?";
}

std::string rounded(double v) {
  char b[64];
  snprintf(b, sizeof b, "%.5g", v);
  return b;
}

// Everything the writer must carry, as one line per record.
std::string describe(const primitive* p) {
  std::ostringstream s;
  s << p->type << "/" << p->kind << " " << placeof(p) << " (";
  for (const primitive* q : p->parents) s << placeof(q) << ",";
  s << ") c" << p->color << " L" << p->layers << " w" << rounded(p->width)
    << " d" << (int)p->display << " g" << (int)p->generated << " '"
    << (p->label ? p->label : "") << "'";
  if (p->color == COLOR_PERLAYER)
    for (uint8_t c : p->layercolor) s << " " << (int)c;
  switch (p->type) {
    case RW_VERTEX: {
      const vertex* v = (const vertex*)p;
      if (isfreestanding(p)) s << " " << rounded(v->x) << " " << rounded(v->y);
      s << " m" << v->pointtype;
      break;
    }
    case RW_LINE: {
      const line* l = (const line*)p;
      s << " " << l->linetype << " " << l->linestyle << " " << l->linemark;
      break;
    }
    case RW_ANGLE: {
      const angle* a = (const angle*)p;
      s << " " << a->angletype;
      if (p->kind == A_FLOAT) s << " " << rounded(a->value);
      break;
    }
    case RW_FLT: {
      const flt* f = (const flt*)p;
      if (p->kind == LITERAL) s << " " << rounded(f->value);
      for (int i = 0; i < f->nrpn; i++)
        s << " [" << f->rpn[i].tag << " "
          << (f->rpn[i].tag == RPN_NUMBER     ? rounded(f->rpn[i].number)
              : f->rpn[i].tag == RPN_OPERATOR ? std::to_string(f->rpn[i].op)
                                              : placeof(f->rpn[i].prim))
          << "]";
      break;
    }
    case RW_POLYGON: {
      const polygon* g = (const polygon*)p;
      s << " " << g->nvert << " " << g->polytype;
      break;
    }
    case RW_TEXT: s << " \"" << ((const text*)p)->string << "\""; break;
    case RW_COMMENT: {  // the line end of a last line is added on writing
      std::string t = ((const comment*)p)->textbuf;
      s << " //" << t.substr(0, t.find_last_not_of('\n') + 1);
      break;
    }
    case RW_LAYERCONDITION:
      s << " " << ((const layercondition*)p)->layermask;
      break;
    case RW_MACRO: {
      const macro* m = (const macro*)p;
      s << " ret" << m->rettype << " " << placeof(m->retprim);
      for (int i = 0; i < m->nparams; i++) s << " " << m->params[i]->name;
      for (const primitive* b = m->body; b; b = b->next)
        s << "\n    " << describe(b);
      break;
    }
    case RW_MACROCALL: {
      const macrocall* c = (const macrocall*)p;
      s << " " << placeof(c->result);
      break;
    }
    default: break;  // the other types carry nothing more
  }
  return s.str();
}

std::vector<std::string> snapshot() {
  std::vector<std::string> out;
  for (const primitive* p = plist; p; p = p->next) out.push_back(describe(p));
  return out;
}

void roundtrip(const std::string& text, const std::string& what) {
  SCOPED_TRACE(what);
  alerts().clear();
  ASSERT_EQ(readtext(text), 1) << firstalert();
  std::vector<std::string> first = snapshot();
  std::string once = written();
  ASSERT_EQ(readtext(once), 1) << firstalert() << "\n" << once;
  std::vector<std::string> second = snapshot();
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); i++)
    EXPECT_EQ(first[i], second[i]) << "record " << i;
  EXPECT_EQ(written(), once);
  EXPECT_EQ(once.back(), '\n');  // text added after it starts a line
  EXPECT_TRUE(alerts().empty()) << firstalert();
}

// Texts that once read back differently.
TEST_F(Lang, CutCommentsAndLayeredTransformsReadBackTheSame) {
  std::vector<std::string> texts = {
      "//" + std::string(400, 'c') + "\nB = .free(1, 2);\n",
      "A = .free(0, 0);\n// last, no line end",
      ".l1; .l2;\nx = .x.identity();\n"
      "y = .x.f9(x, 1, 0, 0, 0, 1, 0, 0, 0, 1, [.in, .red]);"};
  // a comment about the length limit, ending the file without a line end
  for (int len = 146; len <= 152; len++)
    texts.push_back("//" + std::string(len, 'c'));
  for (const std::string& t : texts) roundtrip(t, t.substr(0, 40));
}

TEST_F(Lang, EveryExampleReadsBackTheSame) {
  std::vector<std::string> files = langtest::examples();
  for (const std::string& f : files) roundtrip(slurp(f), f);
  EXPECT_GE(files.size(), 7u);
}

TEST_F(Lang, GeneratedDiagramsReadBackTheSame) {
  for (unsigned seed = 1; seed <= 20; seed++)
    roundtrip(gendiagram::generate(300, seed), "seed " + std::to_string(seed));
}

}  // namespace
