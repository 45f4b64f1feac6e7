// construction.cpp: the construction state machine.
//
// Every construction is one row of `constructions`: its command code, its
// panel button, the states it passes through with what each click picks and
// which earlier picks that click must differ from, and a small builder that
// hands the picks to the construction helper. One generic step routine walks
// the rows; only selection (state 0), the polygon (43, 44) and colouring
// (29) have code of their own. A half-finished construction lives only in
// the static pick arrays below, so abandoning it leaves no trace.
#include "app/construction.h"

#include <cstdio>
#include <cstring>

#include "model/construct.h"
#include "model/primitive.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/hittest.h"
#include "render/view.h"

int UIstate;
int sticky;
prompthookfn prompthook;
buttonshookfn buttonshook;
modifierhookfn ctrlhook;

namespace {

// What one click of a construction picks.
enum picktype {
  PICK_SPOT,    // anywhere: the click point itself
  PICK_POINT,   // a vertex
  PICK_LINE,    // a line
  PICK_CIRCLE,  // a circle
  PICK_ANGLE,   // an angle
  PICK_CONIC,   // a conic
};

const int MAXSTEPS = 5;

struct pickstep {
  int state;    // the state waiting for this click
  int what;     // picktype
  int differs;  // bit i set: must differ from the pick of step i
};

// The picks of the construction under way, by step, with the world points
// of the clicks that made them (some helpers choose a branch by them).
struct picks {
  primitive* p[MAXSTEPS];
  double x[MAXSTEPS], y[MAXSTEPS];
};

typedef primitive* (*builder)(const picks& k);

struct construction {
  int code;  // command code
  int slot;  // panel button slot, NOSLOT when it has none
  int nsteps;
  pickstep steps[MAXSTEPS];
  builder build;
};

vertex* V(const picks& k, int i) {
  return (vertex*)k.p[i];
}
line* L(const picks& k, int i) {
  return (line*)k.p[i];
}
circle* C(const picks& k, int i) {
  return (circle*)k.p[i];
}

// A new point at the last click with the given kind and parents.
primitive* pointatclick(const picks& k, int last, int kind, int nparents) {
  vertex* v = makevertex(k.x[last], k.y[last]);
  v->kind = kind;
  for (int i = 0; i < nparents; i++) v->parents[i] = k.p[i];
  return v;
}

primitive* buildfree(const picks& k) {
  return pointatclick(k, 0, FREE, 0);
}
primitive* buildpinned(const picks& k) {
  return pointatclick(k, 0, PINNED, 0);
}
primitive* buildvonl(const picks& k) {
  vertex* v = makevertex(k.x[0], k.y[0]);
  verttoline(v, L(k, 0));
  return v;
}
primitive* buildvonc(const picks& k) {
  vertex* v = makevertex(k.x[0], k.y[0]);
  verttocirc(v, C(k, 0));
  return v;
}
primitive* buildvonconic(const picks& k) {
  return pointatclick(k, 0, VONCONIC, 1);
}
// The centre point starts where the centre is; a centre at infinity (three
// collinear points) leaves it at the click until the engine decides.
primitive* buildccenter(const picks& k) {
  const circle* c = C(k, 0);
  double x = k.x[0], y = k.y[0];
  if (c->center.w != 0) {
    x = c->center.x / c->center.w;
    y = c->center.y / c->center.w;
  }
  vertex* v = makevertex(x, y);
  v->kind = V_CCENTER;
  v->parents[0] = k.p[0];
  return v;
}
primitive* buildll(const picks& k) {
  return vertlineline(L(k, 0), L(k, 1));
}
primitive* buildmid(const picks& k) {
  return vertvertvertmid(V(k, 0), V(k, 1));
}
primitive* buildlc(const picks& k) {
  return linecirctovert1(L(k, 0), C(k, 1), k.x[1], k.y[1]);
}
primitive* buildcc(const picks& k) {
  return circcirctovert1(C(k, 0), C(k, 1), k.x[1], k.y[1]);
}
primitive* buildbisect(const picks& k) {
  return anglebisect(V(k, 0), V(k, 1), V(k, 2));
}
primitive* buildmirror(const picks& k) {
  return vertlinevertmirror(V(k, 1), L(k, 0));
}
primitive* buildvcinv(const picks& k) {
  return vertvertcircinv(V(k, 0), C(k, 1));
}
primitive* buildavv(const picks& k) {
  return vertanglevertvert((angle*)k.p[0], V(k, 1), V(k, 2));
}
primitive* buildlconic(const picks& k) {
  return vertlineconic(L(k, 0), (conic*)k.p[1], k.x[1], k.y[1]);
}
primitive* buildlcvother(const picks& k) {
  return pointatclick(k, 2, V_LCVOTHER, 3);
}
primitive* buildccvother(const picks& k) {
  return pointatclick(k, 2, V_CCVOTHER, 3);
}
primitive* buildharmonic(const picks& k) {
  return pointatclick(k, 2, V_VVVHARMONIC, 3);
}
primitive* buildlvv(const picks& k) {
  return linevertvert(V(k, 0), V(k, 1));
}
primitive* buildperp(const picks& k) {
  return linevertlineperp(V(k, 0), L(k, 1));
}
primitive* buildpar(const picks& k) {
  return linevertlinepar(V(k, 0), L(k, 1));
}
primitive* buildtangent(const picks& k) {
  return vertcirctoline1(V(k, 0), C(k, 1), k.x[1], k.y[1]);
}
primitive* buildexttan(const picks& k) {
  return circcirctolineext1(C(k, 0), C(k, 1), k.x[1], k.y[1]);
}
primitive* buildinttan(const picks& k) {
  return circcirctolineint1(C(k, 0), C(k, 1), k.x[1], k.y[1]);
}
primitive* buildperpbis(const picks& k) {
  return vertvertlineperp(V(k, 0), V(k, 1));
}
primitive* buildconictan(const picks& k) {
  return vertcontangent(V(k, 0), (conic*)k.p[1], k.x[1], k.y[1]);
}
primitive* buildcvv(const picks& k) {
  return circvertvert(V(k, 0), V(k, 1));
}
primitive* buildcvvv(const picks& k) {
  return vvvtocircle(V(k, 0), V(k, 1), V(k, 2));
}
primitive* buildcrad(const picks& k) {
  return circvertcircrad(V(k, 0), C(k, 1));
}
primitive* buildctrvv(const picks& k) {
  return ctrvvtocircle(V(k, 0), V(k, 1), V(k, 2));
}
primitive* buildlcinv(const picks& k) {
  return circlinecircinv(L(k, 0), C(k, 1));
}
primitive* buildccinv(const picks& k) {
  return circcirccircinv(C(k, 0), C(k, 1));
}
primitive* buildlll(const picks& k) {
  const double xy[6] = {k.x[0], k.y[0], k.x[1], k.y[1], k.x[2], k.y[2]};
  return llltocircle(L(k, 0), L(k, 1), L(k, 2), xy);
}
primitive* buildangle(const picks& k) {
  return avvv(V(k, 0), V(k, 1), V(k, 2));
}
primitive* buildconic5(const picks& k) {
  vertex* v[5] = {V(k, 0), V(k, 1), V(k, 2), V(k, 3), V(k, 4)};
  return vvvvvtoconic(v);
}
primitive* buildconic5l(const picks& k) {
  line* l[5] = {L(k, 0), L(k, 1), L(k, 2), L(k, 3), L(k, 4)};
  return llllltoconic(l);
}
primitive* buildarc(const picks& k) {
  return vvvtoarc(V(k, 0), V(k, 1), V(k, 2));
}
primitive* buildbez(const picks& k) {
  return vvvvbez(V(k, 0), V(k, 1), V(k, 2), V(k, 3));
}

const int P = PICK_POINT, Ln = PICK_LINE, Ci = PICK_CIRCLE;

// ORDER: free first, so the table reads like the Primitives menu.
const construction constructions[] = {
    {200001, 0, 1, {{10, PICK_SPOT, 0}}, buildfree},
    {200004, NOSLOT, 1, {{48, PICK_SPOT, 0}}, buildpinned},
    {200008, 1, 1, {{5, Ln, 0}}, buildvonl},
    {200013, 2, 1, {{15, Ci, 0}}, buildvonc},
    {200016, NOSLOT, 1, {{61, PICK_CONIC, 0}}, buildvonconic},
    {200003, NOSLOT, 1, {{47, Ci, 0}}, buildccenter},
    {200006, 3, 2, {{3, Ln, 0}, {4, Ln, 1}}, buildll},
    {200012, 4, 2, {{13, P, 0}, {14, P, 1}}, buildmid},
    {200018, 5, 2, {{16, Ln, 0}, {17, Ci, 0}}, buildlc},
    {200025, 6, 2, {{24, Ci, 0}, {25, Ci, 1}}, buildcc},
    {200041, 23, 3, {{38, P, 0}, {39, P, 1}, {40, P, 3}}, buildbisect},
    {200009, NOSLOT, 2, {{54, Ln, 0}, {55, P, 0}}, buildmirror},
    {200014, NOSLOT, 2, {{56, P, 0}, {57, Ci, 0}}, buildvcinv},
    {200015,
     NOSLOT,
     3,
     {{58, PICK_ANGLE, 0}, {59, P, 0}, {60, P, 0}},
     buildavv},
    {200030, NOSLOT, 2, {{75, Ln, 0}, {76, PICK_CONIC, 0}}, buildlconic},
    {200045, NOSLOT, 3, {{83, Ln, 0}, {84, Ci, 0}, {85, P, 0}}, buildlcvother},
    {200046, NOSLOT, 3, {{86, Ci, 0}, {87, Ci, 1}, {88, P, 0}}, buildccvother},
    {200047, NOSLOT, 3, {{89, P, 0}, {90, P, 1}, {91, P, 3}}, buildharmonic},
    {200002, 7, 2, {{1, P, 0}, {2, P, 1}}, buildlvv},
    {200007, 8, 2, {{6, P, 0}, {7, Ln, 0}}, buildperp},
    {200011, 9, 2, {{8, P, 0}, {9, Ln, 0}}, buildpar},
    {200021, 10, 2, {{18, P, 0}, {19, Ci, 0}}, buildtangent},
    {200023, 11, 2, {{20, Ci, 0}, {21, Ci, 1}}, buildexttan},
    {200024, 12, 2, {{22, Ci, 0}, {23, Ci, 1}}, buildinttan},
    {200042, NOSLOT, 2, {{45, P, 0}, {46, P, 0}}, buildperpbis},
    {200029, NOSLOT, 2, {{73, P, 0}, {74, PICK_CONIC, 0}}, buildconictan},
    {200010, 13, 2, {{11, P, 0}, {12, P, 1}}, buildcvv},
    {200027, 14, 3, {{26, P, 0}, {27, P, 1}, {28, P, 3}}, buildcvvv},
    {200022, NOSLOT, 2, {{41, P, 0}, {42, Ci, 0}}, buildcrad},
    {200044, 24, 3, {{80, P, 0}, {81, P, 0}, {82, P, 2}}, buildctrvv},
    {200017, NOSLOT, 2, {{64, Ln, 0}, {65, Ci, 0}}, buildlcinv},
    {200019, NOSLOT, 2, {{62, Ci, 0}, {63, Ci, 0}}, buildccinv},
    {200031, NOSLOT, 3, {{77, Ln, 0}, {78, Ln, 1}, {79, Ln, 3}}, buildlll},
    {200026, 22, 3, {{35, P, 0}, {36, P, 1}, {37, P, 3}}, buildangle},
    {200040,
     15,
     5,
     {{30, P, 0}, {31, P, 1}, {32, P, 3}, {33, P, 7}, {34, P, 15}},
     buildconic5},
    {200005,
     NOSLOT,
     5,
     {{49, Ln, 0}, {50, Ln, 1}, {51, Ln, 3}, {52, Ln, 7}, {53, Ln, 15}},
     buildconic5l},
    {200028, NOSLOT, 3, {{70, P, 0}, {71, P, 1}, {72, P, 3}}, buildarc},
    {200020,
     NOSLOT,
     4,
     {{66, P, 0}, {67, P, 1}, {68, P, 3}, {69, P, 7}},
     buildbez},
};
const int NCONSTRUCTIONS = sizeof constructions / sizeof constructions[0];
static_assert(NCONSTRUCTIONS == 38, "one row per mouse construction");

// The polygon and colouring have states of their own.
const int POLYCODE = 200043, POLYFIRST = 43, POLYNEXT = 44, POLYSLOT = 25;
const int COLORCODE = 200048, COLORSTATE = 29;

// Prompts by state. ORDER: state numbers 0 .. MAXSTATE.
const char* const prompts[] = {
    "Manipulation Mode",        // 0
    "Pick Point 1",             // 1
    "Pick Point 2",             // 2
    "Pick Line 1",              // 3
    "Pick Line 2",              // 4
    "New Point on Line",        // 5
    "Pick Point",               // 6
    "Pick Perpendicular Line",  // 7
    "Pick Point",               // 8
    "Pick Parallel Line",       // 9
    "Make New Point",           // 10
    "Pick Center Point",        // 11
    "Pick Edge Point",          // 12
    "Pick Point 1",             // 13
    "Pick Point 2",             // 14
    "New Point on Circle",      // 15
    "Pick Line",                // 16
    "Pick Circle",              // 17
    "Pick Point",               // 18
    "Pick Circle",              // 19
    "Pick Circle 1",            // 20
    "Pick Circle 2",            // 21
    "Pick Circle 1",            // 22
    "Pick Circle 2",            // 23
    "Pick Circle 1",            // 24
    "Pick Circle 2",            // 25
    "Pick Point 1",             // 26
    "Pick Point 2",             // 27
    "Pick Point 3",             // 28
    "Pick Item to Color",       // 29
    "Pick Point 1",             // 30
    "Pick Point 2",             // 31
    "Pick Point 3",             // 32
    "Pick Point 4",             // 33
    "Pick Point 5",             // 34
    "Pick Point 1",             // 35
    "Pick Point 2",             // 36
    "Pick Point 3",             // 37
    "Pick Point 1",             // 38
    "Pick Point 2",             // 39
    "Pick Point 3",             // 40
    "Pick Point",               // 41
    "Pick Circle",              // 42
    "Pick first Point",         // 43
    "Close or New Point %d",    // 44
    "Pick Point 1",             // 45
    "Pick Point 2",             // 46
    "Pick Circle",              // 47
    "Make New Point",           // 48
    "Pick Line 1",              // 49
    "Pick Line 2",              // 50
    "Pick Line 3",              // 51
    "Pick Line 4",              // 52
    "Pick Line 5",              // 53
    "Pick Line",                // 54
    "Pick Point",               // 55
    "Pick Point",               // 56
    "Pick Circle",              // 57
    "Pick Angle",               // 58
    "Pick Point 1",             // 59
    "Pick Point 2",             // 60
    "Pick Conic",               // 61
    "Pick Circle 1",            // 62
    "Pick Circle 2",            // 63
    "Pick Line",                // 64
    "Pick Circle",              // 65
    "Pick Point 1",             // 66
    "Pick Point 2",             // 67
    "Pick Point 3",             // 68
    "Pick Point 4",             // 69
    "Pick Point 1",             // 70
    "Pick Point 2",             // 71
    "Pick Point 3",             // 72
    "Pick Point",               // 73
    "Pick Conic",               // 74
    "Pick Line",                // 75
    "Pick Conic",               // 76
    "Pick Line 1",              // 77
    "Pick Line 2",              // 78
    "Pick Line 3",              // 79
    "Pick Center Point",        // 80
    "Pick Reference Point 1",   // 81
    "Pick Reference Point 2",   // 82
    "Pick Line",                // 83
    "Pick Circle",              // 84
    "Pick Other Point",         // 85
    "Pick Circle 1",            // 86
    "Pick Circle 2",            // 87
    "Pick Other Point",         // 88
    "Pick Point 1",             // 89
    "Pick Point 2",             // 90
    "Pick Point 3",             // 91
};
static_assert(sizeof prompts / sizeof prompts[0] == MAXSTATE + 1,
              "one prompt per state");

picks current;               // picks of the construction under way
vertex* vlist[MAXPOLYPICK];  // the polygon's points so far
int polycount;               // how many of them

const construction* byfirststate(int state, int* step) {
  for (const construction& c : constructions)
    for (int i = 0; i < c.nsteps; i++)
      if (c.steps[i].state == state) {
        *step = i;
        return &c;
      }
  return nullptr;
}

const construction* bycode(int code) {
  for (const construction& c : constructions)
    if (c.code == code) return &c;
  return nullptr;
}

// The object of type `what` under (x, y); `other` is an earlier pick the
// search should look past (two lines or circles crossing at the click).
primitive* hitoftype(int what, double x, double y, primitive* other) {
  switch (what) {
    case PICK_POINT: return hitvertex(x, y);
    case PICK_LINE: return other ? hitanotherline(x, y, other) : hitline(x, y);
    case PICK_CIRCLE:
      return other ? hitanothercircle(x, y, other) : hitcircle(x, y);
    case PICK_ANGLE: return hitangle(x, y);
    case PICK_CONIC: return hitconic(x, y);
    default: return nullptr;  // PICK_SPOT needs no object
  }
}

// Returns the machine to the construction's first state in repeat mode,
// to selection otherwise; a finished construction always does this first.
void finishstate(int first) {
  if (sticky)
    UIstate = first;
  else
    setselect();
}

// The object step `step` of `c` takes at (x, y): null when nothing of the
// wanted type is there or it is an earlier pick the step must differ from.
primitive* steppick(const construction& c, int step, double x, double y) {
  const pickstep& s = c.steps[step];
  primitive* other = nullptr;
  for (int i = step - 1; i >= 0 && !other; i--)
    if (s.differs & (1 << i)) other = current.p[i];
  primitive* hit = hitoftype(s.what, x, y, other);
  for (int i = 0; i < step && hit; i++)
    if ((s.differs & (1 << i)) && current.p[i] == hit) hit = nullptr;
  return hit;
}

// One click of a table construction: pick, check, advance or build.
void constructionstep(const construction& c, int step, double x, double y) {
  const pickstep& s = c.steps[step];
  primitive* hit = nullptr;
  if (s.what != PICK_SPOT) {
    hit = steppick(c, step, x, y);
    if (!hit) return;
  }
  current.p[step] = hit;
  current.x[step] = x;
  current.y[step] = y;
  if (step + 1 < c.nsteps) {
    UIstate = c.steps[step + 1].state;
    return;
  }
  finishstate(c.steps[0].state);
  addprimitive(c.build(current));
  memset(&current, 0, sizeof current);
}

void finishpolygon() {
  finishstate(POLYFIRST);
  addprimitive(vertlisttopolygon(polycount, vlist));
  polycount = 0;
}

void polygonstep(double x, double y) {
  vertex* v = (vertex*)hitvertex(x, y);
  if (!v) return;
  if (UIstate == POLYFIRST) {
    vlist[0] = v;
    polycount = 1;
    UIstate = POLYNEXT;
    return;
  }
  if (v == vlist[0] && polycount > 2) {
    finishpolygon();
    return;
  }
  for (int i = 0; i < polycount; i++)
    if (vlist[i] == v) return;
  vlist[polycount++] = v;
  if (polycount == MAXPOLYPICK) finishpolygon();
}

void colorstep(double x, double y) {
  primitive* p = hitprimitive(x, y);
  if (!p) return;
  setprimcolor(p);
  // A colour given by a click is a change of the diagram like any other:
  // without the mark, quitting would drop it without asking.
  setdirtyfile();
}

}  // namespace

void handlegeombutton(int x, int y) {
  double wx, wy;
  getpoint(&wx, &wy, x, y);
  handleworldpick(wx, wy, ctrlhook ? ctrlhook() : 0);
}

void handleworldpick(double x, double y, int ctrl) {
  int step;
  const construction* c;
  switch (UIstate) {
    case 0:
      if (ctrl)
        selectnextvertex(x, y);
      else
        selectvertex(x, y);
      break;
    case POLYFIRST:
    case POLYNEXT: polygonstep(x, y); break;
    case COLORSTATE: colorstep(x, y); break;
    default:  // a state of a table construction, or one nothing leads to
      c = byfirststate(UIstate, &step);
      if (c) constructionstep(*c, step, x, y);
      break;
  }
  setmessage();
}

primitive* clickpick(double x, double y) {
  // The general hit test notes the text it finds; a look is not a pick.
  primitive* text = selectedtextprim;
  primitive* hit = nullptr;
  int step;
  const construction* c;
  switch (UIstate) {
    case 0:
      hit = hitvertex(x, y);
      if (!hit) hit = hitprimitive(x, y);
      break;
    case POLYFIRST:
    case POLYNEXT: hit = hitvertex(x, y); break;
    case COLORSTATE: hit = hitprimitive(x, y); break;
    default:
      c = byfirststate(UIstate, &step);
      if (c) hit = steppick(*c, step, x, y);
      break;
  }
  selectedtextprim = text;
  return hit;
}

void prompttext(int state, char* buf, int size) {
  if (state < 0 || state > MAXSTATE) state = 0;
  if (state == POLYNEXT)
    snprintf(buf, size, prompts[state], polycount + 1);
  else
    snprintf(buf, size, "%s", prompts[state]);
}

void setmessage() {
  char buf[64];
  prompttext(UIstate, buf, sizeof buf);
  if (prompthook) prompthook(buf, sticky == 1);
}

int inselectstate() {
  return UIstate == 0;
}

void setselect() {
  UIstate = 0;
  setmessage();
  if (buttonshook) buttonshook(-1);
}

int firststate(int code) {
  if (code == POLYCODE) return POLYFIRST;
  if (code == COLORCODE) return COLORSTATE;
  const construction* c = bycode(code);
  return c ? c->steps[0].state : -1;
}

int constructionslot(int code) {
  if (code == POLYCODE) return POLYSLOT;
  if (code == COLORCODE) return COLORSLOT;
  const construction* c = bycode(code);
  return c ? c->slot : NOSLOT;
}

int startconstruction(int code) {
  int first = firststate(code);
  if (first < 0) return 0;
  memset(&current, 0, sizeof current);
  polycount = 0;
  UIstate = first;
  int slot = constructionslot(code);
  if (slot != NOSLOT && buttonshook) buttonshook(slot);
  return 1;
}

void setprimcolor(primitive* p) {
  if (layerset == 0xffffffffu) {
    p->color = currentcolor;
    return;
  }
  if (p->color != COLOR_PERLAYER) {
    for (int i = 0; i < NLAYERS; i++) p->layercolor[i] = (uint8_t)p->color;
    p->color = COLOR_PERLAYER;
  }
  for (int i = 0; i < NLAYERS; i++)
    if (layerset & (1u << i)) p->layercolor[i] = (uint8_t)currentcolor;
}

void resetconstruction() {
  UIstate = 0;
  sticky = 0;
  memset(&current, 0, sizeof current);
  memset(vlist, 0, sizeof vlist);
  polycount = 0;
  prompthook = nullptr;
  buttonshook = nullptr;
  ctrlhook = nullptr;
}
