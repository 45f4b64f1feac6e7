// values.cpp: `tessarin-cli values FILE [--json] [--drag NAME X0,Y0 X1,Y1
// --steps N] [--frames]`: every record's computed numbers at full
// precision, for users and for tests that check the engine from outside.
//
// Step 0 is the diagram as read (with --drag, the point already at the
// first position). --drag then moves the point in N equal steps as a mouse
// drag does; --frames runs the script and takes one step per frame.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/verbs.h"
#include "engine/continuity.h"
#include "engine/recompute.h"
#include "language/symtable.h"
#include "language/writer.h"
#include "model/scriptplay.h"
#include "model/shell.h"
#include "model/worldlist.h"

namespace {

const char* const VALUESUSAGE =
    "values FILE [--json] [--drag NAME X0,Y0 X1,Y1 --steps N] [--frames]";

struct codename {
  int code;
  const char* name;
};

const codename typenames[] = {
    {RW_VERTEX, "vertex"},       {RW_LINE, "line"},
    {RW_CIRCLE, "circle"},       {RW_BEZIER, "bezier"},
    {RW_FLT, "number"},          {RW_TEXT, "text"},
    {RW_ANIMATION, "animation"}, {RW_CONIC, "conic"},
    {RW_ANGLE, "angle"},         {RW_RATIO, "ratio"},
    {RW_POLYGON, "polygon"},     {RW_ARC, "arc"},
    {RW_XFORM, "transform"},     {RW_CONDITION, "condition"},
    {RW_COMMENT, "comment"},     {RW_LAYERCONDITION, "layercondition"},
    {RW_MACRO, "macro"},         {RW_MACROCALL, "macrocall"},
};

#define K(k) \
  { k, #k }
const codename kindnames[] = {
    K(NOCONSTRAINT),  K(LITERAL),     K(PARAMHOLDER), K(MACROCALL),
    K(SCRIPT),        K(LAYERCOND),   K(FREE),        K(VONL),
    K(VONC),          K(V_LL),        K(V_LC1),       K(V_LC2),
    K(V_CC1),         K(V_CC2),       K(V_CCENTER),   K(V_VVMID),
    K(V_LVMIRROR),    K(V_VCINV),     K(V_AVV),       K(V_LCONIC1),
    K(V_LCONIC2),     K(VONCONIC),    K(PINNED),      K(V_VVVBISECT),
    K(V_FF),          K(V_VVF),       K(V_VX),        K(V_VTRANSLATE),
    K(V_VSCALE),      K(V_VROTATE),   K(V_LCVOTHER),  K(V_CCVOTHER),
    K(V_VVVHARMONIC), K(L_VV),        K(L_VLPAR),     K(L_VLPERP),
    K(L_VC1),         K(L_VC2),       K(L_CCEXT1),    K(L_CCEXT2),
    K(L_CCINT1),      K(L_CCINT2),    K(L_CONICV1),   K(L_CONICV2),
    K(L_VVPERP),      K(C_VV),        K(C_VVV),       K(C_LLL1),
    K(C_LLL2),        K(C_LLL3),      K(C_LLL4),      K(C_CCINV),
    K(C_LCINV),       K(C_VCRAD),     K(C_VF),        K(C_CTRVV),
    K(BEZ_VVVV),      K(A_VVV),       K(A_F),         K(CONIC_VVVVV),
    K(CONIC_LLLLL),   K(POLYGON),     K(ARC_VVV),     K(F_AREA),
    K(F_VV),          K(F_VVVRATIO),  K(F_PERIMETER), K(F_RPN),
    K(F_VXCOORD),     K(F_VYCOORD),   K(X_XXF),       K(X_SCALE),
    K(X_TRANSLATE),   K(X_ROTATE),    K(X_F9),        K(X_IDENTITY),
    K(VVCOND),        K(VVVVCOND),    K(VONLCOND),    K(VONCCOND),
    K(VVFCOND),       K(RATIO_VVV),   K(V_VVRATIO),   K(V_LCVOTHER2),
    K(C_VLEN),        K(V_CCVOTHER2), K(A_FLOAT),     K(A_LEN),
};
#undef K

std::string nameof(const codename* table, size_t n, int code) {
  for (size_t i = 0; i < n; i++)
    if (table[i].code == code) return table[i].name;
  return std::to_string(code);
}

// One document being written: plain text or JSON.
struct output {
  int json;
  std::string text;
  int fields;  // fields written in the current record
};

void put(output* o, const char* s) {
  o->text += s;
}

std::string number(const output* o, double v) {
  if (!std::isfinite(v)) return o->json ? "null" : std::to_string(v);
  char b[40];
  snprintf(b, sizeof b, "%.17g", v);
  return b;
}

std::string quoted(const char* s) {
  std::string q = "\"";
  for (const unsigned char* c = (const unsigned char*)s; *c; c++) {
    if (*c == '"' || *c == '\\') {
      q += '\\';
      q += (char)*c;
    } else if (*c < 0x20) {
      char b[8];
      snprintf(b, sizeof b, "\\u%04x", *c);
      q += b;
    } else {
      q += (char)*c;
    }
  }
  return q + "\"";
}

// A field: " name=v1,v2" in text, `, "name": v` or `[v1, v2]` in JSON.
void field(output* o, const char* name, const double* v, int n, int list) {
  std::string s =
      o->json ? ", " + quoted(name) + ": " : " " + std::string(name) + "=";
  if (o->json && list) s += "[";
  for (int i = 0; i < n; i++) {
    if (i) s += o->json ? ", " : ",";
    s += number(o, v[i]);
  }
  if (o->json && list) s += "]";
  put(o, s.c_str());
}

void scalar(output* o, const char* name, double v) {
  field(o, name, &v, 1, 0);
}

void point(output* o, const char* name, const vertex& v) {
  double xyw[3] = {v.x, v.y, v.w};
  field(o, name, xyw, 3, 1);
}

void valuefields(output* o, const primitive* p) {
  switch (p->type) {
    case RW_VERTEX: {
      const vertex* v = static_cast<const vertex*>(p);
      scalar(o, "x", v->x);
      scalar(o, "y", v->y);
      scalar(o, "w", v->w);
      return;
    }
    case RW_LINE: {
      const line* l = static_cast<const line*>(p);
      scalar(o, "a", l->a);
      scalar(o, "b", l->b);
      scalar(o, "c", l->c);
      point(o, "p1", l->p1);
      point(o, "p2", l->p2);
      return;
    }
    case RW_CIRCLE: {
      const circle* c = static_cast<const circle*>(p);
      point(o, "center", c->center);
      scalar(o, "radius", c->radius);
      return;
    }
    case RW_CONIC:
      field(o, "coef", static_cast<const conic*>(p)->coef, 6, 1);
      return;
    case RW_FLT: scalar(o, "value", static_cast<const flt*>(p)->value); return;
    case RW_ANGLE:
      scalar(o, "value", static_cast<const angle*>(p)->value);
      return;
    case RW_POLYGON:
      scalar(o, "area", static_cast<const polygon*>(p)->area);
      return;
    case RW_XFORM:
      field(o, "matrix", static_cast<const xform*>(p)->m, 9, 1);
      return;
    default: return;  // texts, arcs, conditions, macros: no numbers
  }
}

void record(output* o, const primitive* p, int first) {
  const char* name = primname(p);
  const char* label = p->label ? p->label : "";
  std::string type =
      nameof(typenames, sizeof typenames / sizeof *typenames, p->type);
  std::string kind =
      nameof(kindnames, sizeof kindnames / sizeof *kindnames, p->kind);
  if (o->json) {
    put(o, first ? "\n    {" : ",\n    {");
    std::string s = "\"name\": " + quoted(name) +
                    ", \"label\": " + quoted(label) +
                    ", \"type\": " + quoted(type.c_str()) +
                    ", \"kind\": " + quoted(kind.c_str()) +
                    ", \"defined\": " + (p->valid ? "true" : "false");
    put(o, s.c_str());
  } else {
    std::string s = std::string(*name ? name : "-") + " " + quoted(label) +
                    " " + type + " " + kind +
                    (p->valid ? " defined" : " undefined");
    put(o, s.c_str());
  }
  if (p->valid) valuefields(o, p);
  put(o, o->json ? "}" : "\n");
}

void step(output* o, int n, int labelled) {
  if (o->json) {
    std::string s = std::string(n ? ",\n" : "") +
                    "  {\"step\": " + std::to_string(n) + ", \"records\": [";
    put(o, s.c_str());
  } else if (labelled) {
    put(o, ("step " + std::to_string(n) + "\n").c_str());
  }
  int first = 1;
  for (const primitive* p = plist; p; p = p->next, first = 0)
    record(o, p, first);
  if (o->json) put(o, first ? "]}" : "\n  ]}");
}

struct dragplan {
  const char* name;
  double x0, y0, x1, y1;
  long steps;
};

int readpair(const char* s, double* x, double* y) {
  char* end;
  *x = strtod(s, &end);
  if (end == s || *end != ',') return 0;
  const char* second = end + 1;
  *y = strtod(second, &end);
  return end != second && !*end && std::isfinite(*x) && std::isfinite(*y);
}

struct valuesargs {
  const char* in = nullptr;
  int json = 0, frames = 0;
  dragplan drag = {nullptr, 0, 0, 0, 0, -1};
};

int parseargs(int argc, char** argv, valuesargs* a) {
  for (int i = 0; i < argc; i++) {
    if (!strcmp(argv[i], "--json")) {
      a->json = 1;
    } else if (!strcmp(argv[i], "--frames")) {
      a->frames = 1;
    } else if (!strcmp(argv[i], "--drag") && i + 3 < argc) {
      a->drag.name = argv[i + 1];
      if (!readpair(argv[i + 2], &a->drag.x0, &a->drag.y0) ||
          !readpair(argv[i + 3], &a->drag.x1, &a->drag.y1))
        return 0;
      i += 3;
    } else if (!strcmp(argv[i], "--steps") && i + 1 < argc) {
      char* end;
      a->drag.steps = strtol(argv[++i], &end, 10);
      if (*end || a->drag.steps < 1 || a->drag.steps > 1000000) return 0;
    } else if (!a->in && argv[i][0] != '-') {
      a->in = argv[i];
    } else {
      return 0;
    }
  }
  // --steps belongs to --drag, and a run is either a drag or the frames.
  if ((a->drag.name != nullptr) != (a->drag.steps > 0)) return 0;
  return a->in && !(a->drag.name && a->frames);
}

vertex* freepoint(const char* name) {
  symtableentry* e = lookup(idtable, name);
  primitive* p = e && *name ? e->prim : nullptr;
  if (!p || p->type != RW_VERTEX || p->kind != FREE) return nullptr;
  return static_cast<vertex*>(p);
}

// Where dragvertex leaves a point: the recomputation that follows the
// motion keeps intersections continuous.
void movepoint(vertex* v, double x, double y, int motion) {
  v->x = x;
  v->y = y;
  v->w = 1;
  v->satisfied = 0;
  followmotion = motion;
  clearmacroplist();
  checkconstraints();
}

void runframes(output* o) {
  startscriptrun();
  int n = 0;
  while (runningscript) {
    clearmacroplist();
    checkconstraints();
    scriptdrawn = 1;
    step(o, n++, 1);
    scriptstep(nullptr);
  }
}

}  // namespace

int verbvalues(int argc, char** argv) {
  valuesargs a;
  if (!parseargs(argc, argv, &a)) return usage(VALUESUSAGE);
  int status = loadinview(a.in, 400, 450);
  if (status == 2) return status;
  output o = {a.json, "", 0};
  if (o.json) put(&o, "{\"steps\": [\n");
  if (a.drag.name) {
    vertex* v = freepoint(a.drag.name);
    if (!v) {
      fprintf(stderr, "tessarin-cli: %s is not a free point\n", a.drag.name);
      return usage(VALUESUSAGE);
    }
    selectprim(v);
    movepoint(v, a.drag.x0, a.drag.y0, 0);
    step(&o, 0, 1);
    for (long i = 1; i <= a.drag.steps; i++) {
      double t = (double)i / a.drag.steps;
      movepoint(v, a.drag.x0 + (a.drag.x1 - a.drag.x0) * t,
                a.drag.y0 + (a.drag.y1 - a.drag.y0) * t, 1);
      step(&o, (int)i, 1);
    }
  } else if (a.frames) {
    runframes(&o);
  } else {
    step(&o, 0, 0);
  }
  if (o.json) put(&o, "\n]}\n");
  fwrite(o.text.data(), 1, o.text.size(), stdout);
  return status;
}
