// primitive.h: the records a diagram is made of.
//
// Every diagram object is one plain record beginning with `primitive`. There
// are no virtual operations: code switches on `type` (a reservedword code,
// what the object is) and `kind` (a constrainttype code, how it is computed).
// A record refers to the records that define it through `parents`; the
// engine recomputes it from them in list order.
//
// Ownership: a record owns its `label` (malloc'd), a `text` its `string`
// (malloc'd) and an `flt` its `rpn` array (malloc'd, when `nrpn` > 0);
// `destroyprimitive` releases them. Embedded vertices (`p1`, `center`, ...)
// are whole records filled by copying a parent, so only x, y, w matter there.
#pragma once

#include <cstdint>

#include "model/codes.h"

struct symtableentry;

struct primitive {
  // The fields every recomputation reads of every record come first, so
  // that walking the list touches as few cache lines as possible.
  primitive* next;                 // next record of the list holding it
  int32_t kind;                    // constrainttype
  int32_t type;                    // reservedword type code
  uint32_t visit;                  // engine scratch: last recomputation
                                   // that walked past this record
  uint8_t satisfied;               // settled in the current recomputation
  uint8_t valid;                   // last computation gave a usable result
  uint8_t display;                 // the .display property
  uint8_t generated;               // made by macro expansion, never written
  primitive* parents[MAXPARENTS];  // defining records, file argument order
  char* label;                     // display label, owned, or null
  symtableentry* symbol;           // identifier entry naming this record
  int32_t color;                   // colour code; -6 = per-layer colours
  uint8_t layercolor[NLAYERS];     // per-layer colour codes, 255 = hidden
  uint32_t layers;                 // layer membership mask
  double width;                    // line-width multiplier

  primitive();
};

struct vertex : primitive {
  double x, y, w;     // homogeneous; w = 0 is a point at infinity
  int32_t pointtype;  // RW_DIAMOND .. RW_CIRCPOINT
  vertex();
};

struct line : primitive {
  vertex p1, p2;      // the two defining points
  double a, b, c;     // a*x + b*y + c = 0
  int32_t linetype;   // RW_SEGMENT, RW_RAY12, RW_LONGLINE
  int32_t linestyle;  // RW_SOLIDLINE, RW_DASHLINE, RW_DOTLINE
  int32_t linemark;   // RW_LINE0SLASH .. RW_LINE3SLASH
  line();
};

struct circle : primitive {
  vertex center;  // w = 0 when three defining points are collinear
  double radius;
  vertex aux[3];      // the collinear points of a degenerate circle
  int32_t linestyle;  // RW_SOLIDLINE, RW_DASHLINE, RW_DOTLINE
  circle();
};

struct bezier : primitive {
  vertex p1, p2, p3, p4;  // control points, copies of the parents
  bezier();
};

// One item of a postfix expression.
enum rpntag { RPN_NUMBER = 1, RPN_ANGLE = 2, RPN_OPERATOR = 3, RPN_FLT = 4 };
struct rpnitem {
  int32_t tag;  // rpntag
  union {
    double number;    // RPN_NUMBER
    primitive* prim;  // RPN_ANGLE, RPN_FLT
    int32_t op;       // RPN_OPERATOR: RW_ADD .. RW_IF
  };
};

struct flt : primitive {
  double value;
  double start, stop, step;  // the arguments of .script
  int32_t named;             // 0 for an anonymous literal number
  rpnitem* rpn;              // owned when nrpn > 0
  int32_t nrpn;
  flt();
};

struct text : primitive {
  char* string;        // owned, or null
  double ylow, yhigh;  // vertical extent as last drawn (for hit testing)
  text();
};

struct conic : primitive {
  double coef[6];  // A x^2 + B xy + C y^2 + D x + E y + F = 0
  conic();
};

struct angle : primitive {
  double value;       // radians
  int32_t angletype;  // RW_NOANGLE .. RW_RIGHT
  angle();
};

const int MAXPOLYVERT = MAXPARENTS;  // a polygon's vertices are its parents

struct polygon : primitive {
  int32_t nvert;
  int32_t polytype;  // RW_SOLIDPOLY .. RW_HASHPOLY2
  double area;
  polygon();
};

struct arc : primitive {
  double arcangle;  // kept for the record layout; nothing computes it
  double arcradius;
  int32_t linestyle;  // RW_SOLIDLINE, RW_DASHLINE, RW_DOTLINE
  arc();
};

struct xform : primitive {
  double m[9];  // row-major 3x3; a row vector (x, y, w) maps to (x, y, w)*m
  xform();
};

struct condition : primitive {
  condition();
};

const int COMMENTSIZE = 152;  // bytes of a comment's inline text

struct comment : primitive {
  char textbuf[COMMENTSIZE];
  comment();
};

struct layercondition : primitive {
  uint32_t layermask;  // put in force while the condition holds
  layercondition();
};

struct macro : primitive {
  primitive* body;     // first record of the macro's own list
  int32_t rettype;     // declared result type, 0 when none
  primitive* retprim;  // body record named by .return
  int32_t nparams;
  symtableentry* params[MAXPARAMS];
  int64_t expansion;  // records one call expands into; 0 until first counted
  macro();
};

struct macrocall : primitive {
  macro* macroref;
  symtableentry* args[MAXPARAMS];  // actual arguments (also the parents)
  primitive* result;               // receives the macro's returned object
  macrocall();
};

// Allocates a record of the given type code with its defaults, or null for
// a code that no record carries.
primitive* newprimitive(int type);

// Releases a record and what it owns (label, text string, rpn array).
void destroyprimitive(primitive* p);

// Copies x, y, w of a vertex into an embedded vertex (only those matter).
void copyvertex(vertex* to, const vertex* from);

// The dash style of a line, circle or arc; every other record strokes solid.
int strokestyle(const primitive* p);

// A pointer to the dash style of a line, circle or arc, null for the rest.
int32_t* linestyleof(primitive* p);

// Non-zero for the free-standing kinds whose coordinates are inputs.
int isfreestanding(const primitive* p);
