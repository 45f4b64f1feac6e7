// properties.cpp: property lists, palette, layer and layer-condition
// statements, and the creation of parsed records with their properties.
#include "language/properties.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "language/lexer.h"
#include "language/parser.h"
#include "language/rpn.h"
#include "model/codes.h"
#include "model/notify.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/palette.h"

int defcolor = COLOR_WHITE;
uint8_t layercolors[NLAYERS];
uint32_t deflayers = 0xffffffffu;
int deflinetype = RW_SEGMENT;
int deflinestyle = RW_SOLIDLINE;
int deflinemark = RW_LINE0SLASH;
int defverttype = RW_CIRCPOINT;
int defangletype = RW_RING1;
char defname[DEFNAMESIZE];
double defwidth = 1.0;
int displayprim;
int namemaxchar;

void setdefaultproperties() {
  defcolor = COLOR_WHITE;
  deflayers = 0xffffffffu;
  deflinetype = RW_SEGMENT;
  deflinestyle = RW_SOLIDLINE;
  deflinemark = RW_LINE0SLASH;
  defverttype = RW_CIRCPOINT;
  defangletype = RW_RING1;
  defpolytype = RW_OUTLINEPOLY;
  defname[0] = 0;
  defwidth = 1.0;
  displayprim = 0;
}

// A one-character label, or one of one or two digits, tells where automatic
// labels must continue after the reading.
static void notelabel(const char* s) {
  size_t n = strlen(s);
  int count = 0;
  if (n == 1 && s[0] >= 'A' && s[0] <= 'Z')
    count = s[0] - 'A' + 1;
  else if (n == 1 && s[0] >= 'a' && s[0] <= 'z')
    count = s[0] - 'a' + 27;
  else if (n == 1 ||
           (n == 2 && s[0] >= '0' && s[0] <= '9' && s[1] >= '0' && s[1] <= '9'))
    count = atoi(s) + 52;
  if (count > namemaxchar) namemaxchar = count;
}

static void addlayerproperty(int minor) {
  if (deflayers == 0xffffffffu) deflayers = 0;
  if (minor < 32)
    deflayers |= 1u << minor;
  else if (minor < 64)
    deflayers |= 0xffffffffu << (minor - 32);
  else if (minor < 96)
    deflayers |= minor == 95 ? 0xffffffffu : (2u << (minor - 64)) - 1;
  // 96, .layercondition, only empties the all-layers default
}

// width -> '.width' '=' number
static int readwidth() {
  if (!expect(equal, "Expected '='")) {
    parseerror("width: expected '='");
    return 0;
  }
  if (!readfloat()) return 0;
  defwidth = floattoken;
  return 1;
}

// Handles one reserved-word property, its text in texttoken.
static int reservedproperty() {
  symtableentry* e = lookup(restable, texttoken);
  if (!e) {
    parseerror("unrecognized reserved word");
    return 0;
  }
  int code = e->type;
  switch (reswordtype(code)) {
    case kwlinetype:
      if (code == RW_SOLIDLINE || code == RW_DASHLINE || code == RW_DOTLINE)
        deflinestyle = code;
      else
        deflinetype = code;
      return 1;
    case kwpointmark: defverttype = code; return 1;
    case kwcolor: defcolor = minortype; return 1;
    case kwlayer: addlayerproperty(minortype); return 1;
    case kwanglemark: defangletype = code; return 1;
    case kwmode: degreemode = minortype; return 1;
    case kwpolystyle: defpolytype = code; return 1;
    case kwslash: deflinemark = code; return 1;
    case kwdisplay: displayprim = 1; return 1;
    case kwwidth: return readwidth();
    default:  // constructors, types and statements are not properties
      parseerror("bad properties");
      return 0;
  }
}

// Handles the property whose token kind is `tok`.
static int oneproperty(int tok) {
  switch (tok) {
    case strtoken:
      copycut(defname, sizeof defname, texttoken);
      notelabel(texttoken);
      return 1;
    case openbracket: return readlayercolors();
    case reserved: return reservedproperty();
    case badtoken: return 0;  // the lexer has reported it
    default:                  // anything else cannot be a property
      parseerror("bad properties");
      return 0;
  }
}

// properties -> (',' property)* ')' ';'
int parseproperties(int first) {
  if (first != -1 && !oneproperty(first)) return 0;
  for (;;) {
    int tok = gettoken(globalfp);
    if (tok == closeparen) return expect(semicolon, "Expected ';'");
    if (tok == badtoken) return 0;
    if (tok != comma) {
      parseerror("bad properties");
      return 0;
    }
    if (!oneproperty(gettoken(globalfp))) return 0;
  }
}

// layercolors -> '[' (count? colour ','?)* ']'
int readlayercolors() {
  int repeat = 1, filled = 0;
  for (;;) {
    int tok = gettoken(globalfp);
    if (tok == integer) {
      if (longtoken >= 2 && longtoken <= 31 - filled) repeat = longtoken;
    } else if (tok == comma) {
      continue;
    } else if (tok == reserved) {
      symtableentry* e = lookup(restable, texttoken);
      if (!e || reswordtype(e->type) != kwcolor) {
        parseerror("bad layer color");
        return 0;
      }
      if (filled == NLAYERS) {
        parseerror("Too many layer colors");
        return 0;
      }
      for (int i = 0; i < repeat && filled < NLAYERS; i++)
        layercolors[filled++] = (uint8_t)(minortype & 0xff);
      repeat = 1;
    } else if (tok == closebracket) {
      if (filled == 0) {
        parseerror("No layer colors specified");
        return 0;
      }
      for (int i = filled; i < NLAYERS; i++)
        layercolors[i] = layercolors[filled - 1];
      // One colour on every layer is that plain colour; the writer writes
      // it so, and reading must give the same record back.
      int same = 1;
      for (int i = 1; i < NLAYERS; i++)
        same &= layercolors[i] == layercolors[0];
      defcolor = same ? (int)(int8_t)layercolors[0] : (int)COLOR_PERLAYER;
      return 1;
    } else {
      if (tok != badtoken) parseerror("garbage in layer color list");
      return 0;
    }
  }
}

static void applyproperties(primitive* p) {
  if (defname[0] && p->type != RW_MACRO) p->label = strdup(defname);
  p->color = defcolor;
  if (defcolor == COLOR_PERLAYER)
    memcpy(p->layercolor, layercolors, sizeof layercolors);
  p->display = (uint8_t)displayprim;
  p->layers = deflayers;
  p->width = defwidth;
  if (int32_t* style = linestyleof(p)) *style = deflinestyle;
  switch (p->type) {
    case RW_VERTEX: static_cast<vertex*>(p)->pointtype = defverttype; break;
    case RW_LINE: {
      line* l = static_cast<line*>(p);
      l->linetype = deflinetype;
      l->linemark = deflinemark;
      break;
    }
    case RW_ANGLE: static_cast<angle*>(p)->angletype = defangletype; break;
    default: break;  // other types carry no markers
  }
}

primitive* addprim(int type, primitive* const* parents, int nparents, int kind,
                   symtableentry* entry) {
  primitive* p = nullptr;
  switch (type) {
    case RW_VERTEX:
    case RW_LINE:
    case RW_CIRCLE:
    case RW_BEZIER:
    case RW_FLT:
    case RW_TEXT:
    case RW_CONIC:
    case RW_ANGLE:
    case RW_ARC:
    case RW_XFORM:
    case RW_CONDITION:
    case RW_COMMENT:
    case RW_LAYERCONDITION:
    case RW_MACRO:
    case RW_MACROCALL:
    case RW_POLYGON: p = newprimitive(type); break;
    default: break;  // .ratio, .animation: no record of that type exists
  }
  if (!p) {
    alert("bad primitive type");
    return nullptr;
  }
  applyproperties(p);
  for (int i = 0; i < nparents && i < MAXPARENTS; i++)
    p->parents[i] = parents[i];
  p->kind = kind;
  if (entry) {
    p->symbol = entry;
    entry->prim = p;
  }
  addprimitive(p);
  return p;
}

// palette -> colour '=' '(' number ',' number ',' number ')' ';'
static int readpalette(float rgb[3]) {
  if (!expect(equal, "Expected '='")) return 0;
  if (!expect(openparen, "Expected '('")) return 0;
  for (int i = 0; i < 3; i++) {
    if (!readfloat()) return 0;
    rgb[i] = (float)floattoken;
    if (std::isinf(rgb[i])) return 0;  // beyond single precision
    if (!expect(i < 2 ? comma : closeparen,
                i < 2 ? "Expected ','" : "Expected ')'"))
      return 0;
  }
  if (!expect(semicolon, "Expected ';'")) return 0;
  return 1;
}

int parsecolor(int code) {
  reswordtype(code);
  int index = minortype;
  float rgb[3];
  // Only the 32 palette entries can be redefined; the invisible, smear and
  // blinking codes name no entry.
  if (!readpalette(rgb) || index < 0 || index >= NCOLORS) {
    parseerror("bad color command");
    return 0;
  }
  definecolor(index, rgb[0], rgb[1], rgb[2]);
  return 1;
}

int parselayer(int code) {
  reswordtype(code);
  int minor = minortype;
  if (!expect(semicolon, "Expected ';'")) {
    parseerror("bad layer command");
    return 0;
  }
  if (layersinited) {
    layerset = 0;
    layersinited = 0;
  }
  if (minor < 32)
    layerset |= 1u << minor;
  else  // .lNon and .tolN in a statement both count upward from N
    layerset |= 0xffffffffu << (minor % 32);
  filelayerset = layerset;
  setlayerbuttons();
  return 1;
}

// layercondition -> '.layercondition' '(' flt ',' flt ',' flt ',' hex ')' ';'
static int readlayercondition(primitive* flts[3], uint32_t* mask) {
  if (!expect(openparen, "Expected '('")) return 0;
  for (int i = 0; i < 3; i++) {
    if (!(flts[i] = readfltarg())) return 0;
    if (!expect(comma, "Expected ','")) return 0;
  }
  if (!expect(hexnum, "Expected hex number")) return 0;
  *mask = (uint32_t)longtoken;
  if (!expect(closeparen, "Expected ')'")) return 0;
  if (!expect(semicolon, "Expected ';'")) return 0;
  return 1;
}

int parselayercondition() {
  primitive* flts[3];
  uint32_t mask;
  checksymtablesize(idtable);
  if (!readlayercondition(flts, &mask)) {
    parseerror("bad layercondition");
    return 0;
  }
  // The condition carries no properties of its own; it must not inherit
  // those of the previous statement.
  setdefaultproperties();
  symtableentry* e = addentry(idtable, "", RW_LAYERCONDITION);
  primitive* p = addprim(RW_LAYERCONDITION, flts, 3, LAYERCOND, e);
  static_cast<layercondition*>(p)->layermask = mask;
  return 1;
}

void resetproperties() {
  setdefaultproperties();
  memset(layercolors, 0, sizeof layercolors);
  namemaxchar = 0;
}
