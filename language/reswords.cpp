// reswords.cpp: the reserved words of the diagram language.
//
// One table gives every keyword with its code, class and sub-code
// (`minortype`); synonyms are rows with the same code. The numbered families
// (.c0 to .c31, .l0 to .l31, .l0on to .l31on, .tol0 to .tol31) are generated
// from a second, four-row table. `reswordtype` answers from arrays indexed by
// code that inittables fills from the same rows.
#include <climits>
#include <cstdio>

#include "language/symtable.h"
#include "model/codes.h"
#include "model/notify.h"

int minortype;

const int KEEP = INT_MIN;  // minortype is left as it was

struct reswordrow {
  const char* name;
  int code;
  int cls;
  int minor;
};

// ORDER RESERVED: codes from model/codes.h.
static const reswordrow reswords[] = {
    {".geometry", RW_GEOMETRY, kwheader, 0},
    {".include", RW_INCLUDE, kwheader, KEEP},
    {".vertex", RW_VERTEX, kwtype, 1},
    {".line", RW_LINE, kwtype, 2},
    {".circle", RW_CIRCLE, kwtype, 3},
    {".bezier", RW_BEZIER, kwtype, 5},
    {".flt", RW_FLT, kwtype, 9},
    {".animation", RW_ANIMATION, kwtype, 10},
    {".conic", RW_CONIC, kwtype, 11},
    {".angle", RW_ANGLE, kwtype, 6},
    {".ratio", RW_RATIO, kwtype, 7},
    {".ray12", RW_RAY12, kwlinetype, 1},
    {".longline", RW_LONGLINE, kwlinetype, 2},
    {".segment", RW_SEGMENT, kwlinetype, 3},
    {".solidline", RW_SOLIDLINE, kwlinetype, 4},
    {".dashline", RW_DASHLINE, kwlinetype, 5},
    {".dotline", RW_DOTLINE, kwlinetype, 6},
    {".diamond", RW_DIAMOND, kwpointmark, 1},
    {".plus", RW_PLUS, kwpointmark, 2},
    {".cross", RW_CROSS, kwpointmark, 3},
    {".nomark", RW_NOMARK, kwpointmark, 4},
    {".soliddiamond", RW_SOLIDDIAMOND, kwpointmark, 5},
    {".square", RW_SQUARE, kwpointmark, 6},
    {".dot", RW_DOT, kwpointmark, 7},
    {".circpoint", RW_CIRCPOINT, kwpointmark, 8},
    {".noangle", RW_NOANGLE, kwanglemark, 0},
    {".angle1", RW_RING1, kwanglemark, 1},
    {".ring1", RW_RING1, kwanglemark, 1},
    {".angle2", RW_RING2, kwanglemark, 2},
    {".ring2", RW_RING2, kwanglemark, 2},
    {".angle3", RW_RING3, kwanglemark, 3},
    {".ring3", RW_RING3, kwanglemark, 3},
    {".angle4", RW_SLASH1, kwanglemark, 4},
    {".slash1", RW_SLASH1, kwanglemark, 4},
    {".angle5", RW_SLASH2, kwanglemark, 5},
    {".slash2", RW_SLASH2, kwanglemark, 5},
    {".angle6", RW_SLASH3, kwanglemark, 6},
    {".slash3", RW_SLASH3, kwanglemark, 6},
    {".dslash1", RW_DSLASH1, kwanglemark, 7},
    {".dslash2", RW_DSLASH2, kwanglemark, 8},
    {".dslash3", RW_DSLASH3, kwanglemark, 9},
    {".right", RW_RIGHT, kwanglemark, 10},
    {".solidpoly", RW_SOLIDPOLY, kwpolystyle, 1},
    {".outlinepoly", RW_OUTLINEPOLY, kwpolystyle, 2},
    {".hashpoly", RW_HASHPOLY, kwpolystyle, 3},
    {".hashpoly1", RW_HASHPOLY1, kwpolystyle, 4},
    {".hashpoly2", RW_HASHPOLY2, kwpolystyle, 5},
    {".line0slash", RW_LINE0SLASH, kwslash, 0},
    {".line1slash", RW_LINE1SLASH, kwslash, 1},
    {".line2slash", RW_LINE2SLASH, kwslash, 2},
    {".line3slash", RW_LINE3SLASH, kwslash, 3},
    {".black", RW_BLACK, kwcolor, 0},
    {".red", RW_RED, kwcolor, 1},
    {".green", RW_GREEN, kwcolor, 2},
    {".blue", RW_BLUE, kwcolor, 4},
    {".yellow", RW_YELLOW, kwcolor, 3},
    {".cyan", RW_CYAN, kwcolor, 6},
    {".magenta", RW_MAGENTA, kwcolor, 5},
    {".white", RW_WHITE, kwcolor, 7},
    {".invisible", RW_INVISIBLE, kwcolor, -1},
    {".in", RW_INVISIBLE, kwcolor, -1},
    {".smear", RW_SMEAR, kwcolor, -2},
    {".blink", RW_BLINK, kwcolor, -3},
    {".blink1", RW_BLINK1, kwcolor, -4},
    {".blink2", RW_BLINK2, kwcolor, -5},
    {".layercondition", RW_LAYERCONDITION, kwlayer, 96},
    {".free", RW_FREE, kwvertex, 1},
    {".pinned", RW_PINNED, kwvertex, 15},
    {".vonl", RW_VONL, kwvertex, 2},
    {".vonc", RW_VONC, kwvertex, 3},
    {".v.ll", RW_V_LL, kwvertex, 4},
    {".v.vvmid", RW_V_VVMID, kwvertex, 5},
    {".v.lc", RW_V_LC, kwvertex, 6},
    {".v.cc", RW_V_CC, kwvertex, 7},
    {".v.vvratio", RW_V_VVRATIO, kwvertex, 8},
    {".v.avv", RW_V_AVV, kwvertex, 9},
    {".v.ccenter", RW_V_CCENTER, kwvertex, 10},
    {".v.lvmirror", RW_V_LVMIRROR, kwvertex, 11},
    {".vonconic", RW_VONCONIC, kwvertex, 12},
    {".v.vcinv", RW_V_VCINV, kwvertex, 13},
    {".v.lconic", RW_V_LCONIC, kwvertex, 14},
    {".v.vvvbisect", RW_V_VVVBISECT, kwvertex, 16},
    {".v.vvf", RW_V_VVF, kwvertex, 18},
    {".v.ff", RW_V_FF, kwvertex, 17},
    {".v.vx", RW_V_VX, kwvertex, 19},
    {".v.vtranslate", RW_V_VTRANSLATE, kwvertex, 20},
    {".v.vscale", RW_V_VSCALE, kwvertex, 21},
    {".v.vrotate", RW_V_VROTATE, kwvertex, 22},
    {".v.lcvother", RW_V_LCVOTHER, kwvertex, 23},
    {".v.lcother", RW_V_LCVOTHER, kwvertex, 23},
    {".v.ccvother", RW_V_CCVOTHER, kwvertex, 24},
    {".v.ccother", RW_V_CCVOTHER, kwvertex, 24},
    {".v.vvvharmonic", RW_V_VVVHARMONIC, kwvertex, 25},
    {".l.vv", RW_L_VV, kwline, 1},
    {".l.vlperp", RW_L_VLPERP, kwline, 2},
    {".l.vlpar", RW_L_VLPAR, kwline, 3},
    {".l.vc", RW_L_VC, kwline, 4},
    {".l.ccext", RW_L_CCEXT, kwline, 5},
    {".l.ccint", RW_L_CCINT, kwline, 6},
    {".l.conicv", RW_L_CONICV, kwline, 7},
    {".l.vvperp", RW_L_VVPERP, kwline, 8},
    {".c.vv", RW_C_VV, kwcircle, 1},
    {".c.vvv", RW_C_VVV, kwcircle, 2},
    {".c.lll", RW_C_LLL, kwcircle, 4},
    {".c.vlen", RW_C_VLEN, kwcircle, 3},
    {".c.ccinv", RW_C_CCINV, kwcircle, 5},
    {".c.lcinv", RW_C_LCINV, kwcircle, 6},
    {".c.vf", RW_C_VF, kwcircle, 7},
    {".c.vcrad", RW_C_VCRAD, kwcircle, 8},
    {".c.ctrvv", RW_C_CTRVV, kwcircle, 9},
    {".bez.vvvv", RW_BEZ_VVVV, kwbezier, 1},
    {".ratio.vvv", RW_RATIO_VVV, kwratio, 1},
    {".len.vv", RW_LEN_VV, kwlength, 1},
    {".len.plus", RW_LEN_PLUS, kwlength, 2},
    {".len.minus", RW_LEN_MINUS, kwlength, 3},
    {".len.f", RW_LEN_F, kwlength, 4},
    {".len.times", RW_LEN_TIMES, kwlength, 5},
    {".len.mult", RW_LEN_TIMES, kwlength, 5},
    {".len.divide", RW_LEN_DIVIDE, kwlength, 6},
    {".len.div", RW_LEN_DIVIDE, kwlength, 6},
    {".len.a", RW_LEN_A, kwlength, 7},
    {".len.polyarea", RW_LEN_POLYAREA, kwlength, 8},
    {".a.vvv", RW_A_VVV, kwangle, 1},
    {".a.len", RW_A_LEN, kwangle, 2},
    {".a.float", RW_A_FLOAT, kwangle, 3},
    {".a.f", RW_A_F, kwangle, 4},
    {".arc", RW_ARC, kwarc, 0},
    {".arc.vvv", RW_ARC_VVV, kwarc, 0},
    {".polygon", RW_POLYGON, kwpolygon, 0},
    {".text", RW_TEXT, kwtext, 0},
    {".conic.vvvvv", RW_CONIC_VVVVV, kwconic, 1},
    {".conic.lllll", RW_CONIC_LLLLL, kwconic, 2},
    {".add", RW_ADD, kwrpnop, RW_ADD},
    {".sub", RW_SUB, kwrpnop, RW_SUB},
    {".mul", RW_MUL, kwrpnop, RW_MUL},
    {".div", RW_DIV, kwrpnop, RW_DIV},
    {".mod", RW_MOD, kwrpnop, RW_MOD},
    {".neg", RW_NEG, kwrpnop, RW_NEG},
    {".dup", RW_DUP, kwrpnop, RW_DUP},
    {".clear", RW_CLEAR, kwrpnop, RW_CLEAR},
    {".pop", RW_POP, kwrpnop, RW_POP},
    {".roll", RW_ROLL, kwrpnop, RW_ROLL},
    {".copy", RW_COPY, kwrpnop, RW_COPY},
    {".sin", RW_SIN, kwrpnop, RW_SIN},
    {".sqrt", RW_SQRT, kwrpnop, RW_SQRT},
    {".cos", RW_COS, kwrpnop, RW_COS},
    {".tan", RW_TAN, kwrpnop, RW_TAN},
    {".atan2", RW_ATAN2, kwrpnop, RW_ATAN2},
    {".abs", RW_ABS, kwrpnop, RW_ABS},
    {".exp", RW_EXP, kwrpnop, RW_EXP},
    {".log", RW_LOG, kwrpnop, RW_LOG},
    {".eq", RW_EQ, kwrpnop, RW_EQ},
    {".ne", RW_NE, kwrpnop, RW_NE},
    {".gt", RW_GT, kwrpnop, RW_GT},
    {".ge", RW_GE, kwrpnop, RW_GE},
    {".lt", RW_LT, kwrpnop, RW_LT},
    {".le", RW_LE, kwrpnop, RW_LE},
    {".rand", RW_RAND, kwrpnop, RW_RAND},
    {".exch", RW_EXCH, kwrpnop, RW_EXCH},
    {".truncate", RW_TRUNCATE, kwrpnop, RW_TRUNCATE},
    {".ceiling", RW_CEILING, kwrpnop, RW_CEILING},
    {".floor", RW_FLOOR, kwrpnop, RW_FLOOR},
    {".round", RW_ROUND, kwrpnop, RW_ROUND},
    {".if", RW_IF, kwrpnop, RW_IF},
    {".f.rpn", RW_F_RPN, kwflt, 1},
    {".f.area", RW_F_AREA, kwflt, 2},
    {".f.vv", RW_F_VV, kwflt, 3},
    {".f.vvvratio", RW_F_VVVRATIO, kwflt, 4},
    {".f.vvvratio", RW_F_VVVRATIO, kwflt, 4},  // entered twice, identically
    {".f.perimeter", RW_F_PERIMETER, kwflt, 5},
    {".script", RW_SCRIPT, kwflt, 6},
    {".f.vxcoord", RW_F_VXCOORD, kwflt, 7},
    {".f.vycoord", RW_F_VYCOORD, kwflt, 8},
    {".degreemode", RW_DEGREEMODE, kwmode, 1},
    {".radianmode", RW_RADIANMODE, kwmode, 0},
    {".display", RW_DISPLAY, kwdisplay, KEEP},
    {".width", RW_WIDTH, kwwidth, KEEP},
    {".macro", RW_MACRO, kwmacro, 0},
    {".return", RW_RETURN, kwreturn, 0},
    {".x.translate", RW_X_TRANSLATE, kwxform, 1},
    {".x.scale", RW_X_SCALE, kwxform, 2},
    {".x.rotate", RW_X_ROTATE, kwxform, 3},
    {".x.xxf", RW_X_XXF, kwxform, 4},
    {".x.identity", RW_X_IDENTITY, kwxform, 5},
    {".x.f9", RW_X_F9, kwxform, 6},
    {".vvcondition", RW_VVCONDITION, kwcondition, 0},
    {".vvvvcondition", RW_VVVVCONDITION, kwcondition, 1},
    {".vonlcondition", RW_VONLCONDITION, kwcondition, 2},
    {".vonccondition", RW_VONCCONDITION, kwcondition, 3},
    {".vvfcondition", RW_VVFCONDITION, kwcondition, 4},
};

// The numbered families: "%s%d%s" for n = 0..31, code first + n.
struct reswordrange {
  const char* prefix;
  const char* tail;
  int first;
  int cls;
  int minorbase;
};

static const reswordrange reswordranges[] = {
    {".c", "", RW_C0, kwcolor, 0},
    {".l", "", RW_L0, kwlayer, 0},
    {".l", "on", RW_L0ON, kwlayer, 32},
    {".tol", "", RW_TOL0, kwlayer, 64},
};

const int NFAMILY = 32;
static_assert(sizeof reswords / sizeof reswords[0] +
                      NFAMILY *
                          (sizeof reswordranges / sizeof reswordranges[0]) ==
                  NRESERVED,
              "every reserved word is entered");

const int NCODES = RW_INCLUDE + 1;
static signed char codeclass[NCODES];  // -1: no class
static int codeminor[NCODES];
static const char* codename[NCODES];

static void notecode(const char* name, int code, int cls, int minor) {
  codeclass[code] = (signed char)cls;
  codeminor[code] = minor;
  if (!codename[code]) codename[code] = name;
}

static char familynames[4][NFAMILY][12];

void inittables() {
  if (!restable) restable = newtable(10);
  if (!idtable) idtable = newtable(50);
  cleartable(restable);
  for (int c = 0; c < NCODES; c++) codeclass[c] = -1;
  for (const reswordrow& r : reswords) {
    addentry(restable, r.name, r.code);
    notecode(r.name, r.code, r.cls, r.minor);
  }
  for (int k = 0; k < 4; k++) {
    const reswordrange& r = reswordranges[k];
    for (int n = 0; n < NFAMILY; n++) {
      char* name = familynames[k][n];
      snprintf(name, sizeof familynames[k][n], "%s%d%s", r.prefix, n, r.tail);
      addentry(restable, name, r.first + n);
      notecode(name, r.first + n, r.cls, r.minorbase + n);
    }
  }
  notecode(nullptr, RW_COMMENT, kwcomment, 0);
}

int reswordtype(int code) {
  if ((code >= RW_ARGLITERAL && code <= RW_ARGEND) || code == RW_ARGBRANCHOPT) {
    alert("Bad reserved word\n");
    return kwheader;
  }
  if (code < 0 || code >= NCODES || codeclass[code] < 0) return kwheader;
  if (codeminor[code] != KEEP) minortype = codeminor[code];
  return codeclass[code];
}

const char* reswordname(int code) {
  if (code < 0 || code >= NCODES) return nullptr;
  return codename[code];
}
