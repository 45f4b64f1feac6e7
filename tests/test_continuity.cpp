// Intersections and tangents that follow a moving point instead of jumping
// when their kind's rule flips, diagrams saved mid-drag that read back to
// the same picture, and saving that is a fixed point for points on curves.
#include <cmath>
#include <functional>

#include "engine/continuity.h"
#include "engine/recompute.h"
#include "langtest.h"
#include "prefs/preffile.h"
#include "relations/finder.h"
#include "relations/sampler.h"

namespace {

using Continuity = langtest::Lang;
using langtest::named;
using langtest::readtext;
using langtest::written;

struct xy {
  double x, y;
};

// Where the followed record is drawn: a point, or a line's tangent point.
xy place(const char* name, int slot) {
  primitive* p = named(name);
  if (p->type == RW_VERTEX) {
    vertex* v = static_cast<vertex*>(p);
    return {v->x / v->w, v->y / v->w};
  }
  line* l = static_cast<line*>(p);
  const vertex& v = slot == 1 ? l->p1 : l->p2;
  return {v.x / v.w, v.y / v.w};
}

void moveto(const char* name, xy at, int motion = 1) {
  vertex* v = static_cast<vertex*>(named(name));
  v->x = at.x;
  v->y = at.y;
  v->w = 1;
  v->satisfied = 0;
  selectprim(v);
  followmotion = motion;  // as dragvertex does
  checkconstraints();
}

struct run {
  double maxjump = 0;  // largest move of the followed record in one step
  double maxstep = 0;  // largest move of the dragged point
  int lastkind = 0;
};

// Drags `dragged` along path(0..1) in `steps` steps and follows `followed`.
// Every tenth step the diagram is saved and read back, and the followed
// record must come back where it was drawn.
run follow(const std::string& text, const char* dragged, const char* followed,
           int slot, const std::function<xy(double)>& path, int steps) {
  run r;
  EXPECT_EQ(readtext(text), 1) << langtest::firstalert();
  moveto(dragged, path(0), 0);
  xy last = place(followed, slot), lastd = path(0);
  for (int i = 1; i <= steps; i++) {
    xy d = path((double)i / steps);
    moveto(dragged, d);
    EXPECT_TRUE(named(followed)->valid) << "step " << i;
    xy now = place(followed, slot);
    r.maxjump =
        std::fmax(r.maxjump, std::hypot(now.x - last.x, now.y - last.y));
    r.maxstep = std::fmax(r.maxstep, std::hypot(d.x - lastd.x, d.y - lastd.y));
    last = now;
    lastd = d;
    if (i % 10) continue;
    std::string saved = written();
    EXPECT_EQ(readtext(saved), 1) << saved;
    checkconstraints();
    xy back = place(followed, slot);
    // Free points are saved to six digits; the other solution is far off.
    EXPECT_NEAR(back.x, now.x, 1e-4) << "step " << i << "\n" << saved;
    EXPECT_NEAR(back.y, now.y, 1e-4) << "step " << i << "\n" << saved;
  }
  r.lastkind = named(followed)->kind;
  return r;
}

#define SECANTLINE                                                 \
  "F = .free(0, 0);\nD = .free(-1, 0.5);\n"                        \
  "O = .free(0.2, 0.1);\nR = .free(1.2, 0.1);\nc = .c.vv(O, R);\n" \
  "l = .l.vv(F, D);\nK = .free(3, 3);\n"
#define TWOCIRCLES                                         \
  "P = .free(0, 0);\nQ = .free(1, 0);\nc = .c.vv(P, Q);\n" \
  "D = .free(-1.5, 0);\ne = .c.vcrad(D, c);\nK = .free(3, 3);\n"

const char* const SECANT = SECANTLINE "X = .v.lc(l, c, 1);\n";
const char* const CIRCLES = TWOCIRCLES "X = .v.cc(c, e, 1);\n";
// The known point K lies on neither intersection: the other one is
// whichever the rule takes, until following makes it the second choice.
const char* const SECANTOTHER = SECANTLINE "X = .v.lcvother(l, c, K);\n";
const char* const CIRCLESOTHER = TWOCIRCLES "X = .v.ccvother(c, e, K);\n";

#define ELLIPSE                                                            \
  "K1 = .free(1.3, 0.2);\nK2 = .free(0.3, 0.8);\nK3 = .free(-0.7, 0.2);\n" \
  "K4 = .free(0.3, -0.4);\nK5 = .free(1.00711, 0.624264);\n"               \
  "K = .conic.vvvvv(K1, K2, K3, K4, K5);\n"

const char* const CONIC =
    ELLIPSE "D = .free(2.3, 0.2);\nt = .l.conicv(K, D, 1);\n";

xy straight(double t, xy a, xy b) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

TEST_F(Continuity, FollowedSolutionsNeverJumpAndSaveAsShown) {
  // Dragged past the fixed point (or the other centre) a hair's breadth
  // away, the line (or the line of centres) turns a half turn in one step.
  auto across = [](double t) { return straight(t, {-1, 1e-5}, {1, 1e-5}); };
  auto through = [](double t) {
    return straight(t, {-1.5, 1e-5}, {1.5, 1e-5});
  };
  auto around = [](double t) {
    return xy{0.3 + 2 * std::cos(2 * M_PI * t),
              0.2 + 2 * std::sin(2 * M_PI * t)};
  };
  struct row {
    const char* text;
    const char* followed;
    int slot;
    std::function<xy(double)> path;
    int steps;
    int flipped;  // the sibling kind the record ends as
  } rows[] = {
      {SECANT, "X", 0, across, 201, V_LC2},
      {CIRCLES, "X", 0, through, 301, V_CC2},
      {SECANTOTHER, "X", 0, across, 201, V_LCVOTHER2},
      {CIRCLESOTHER, "X", 0, through, 301, V_CCVOTHER2},
      {CONIC, "t", 1, around, 360, L_CONICV1},
  };
  for (const row& w : rows) {
    SCOPED_TRACE(w.text);
    run on = follow(w.text, "D", w.followed, w.slot, w.path, w.steps);
    EXPECT_LE(on.maxjump, 4 * on.maxstep);
    EXPECT_EQ(on.lastkind, w.flipped);
    // The rule of the kind alone jumps to the other solution on the way.
    keepcontinuous = 0;
    run off = follow(w.text, "D", w.followed, w.slot, w.path, w.steps);
    keepcontinuous = 1;
    EXPECT_GT(off.maxjump, 20 * off.maxstep);
  }
}

// The sampler jumps the free points about and intersections follow it;
// afterwards the diagram is back as it was, kinds included.
TEST_F(Continuity, SamplingLeavesTheDiagramAsItFoundIt) {
  // D jitters about F, so the line through them keeps turning over
  ASSERT_EQ(readtext("F = .free(0, 0);\nD = .free(-0.05, 0.01);\n"
                     "O = .free(0.2, 0.1);\nR = .free(1.2, 0.1);\n"
                     "c = .c.vv(O, R);\nl = .l.vv(F, D);\n"
                     "X = .v.lc(l, c, 1);\n"),
            1);
  checkconstraints();
  std::string before = written();
  vertex* x = static_cast<vertex*>(named("X"));
  double x0 = x->x, y0 = x->y;
  samplingresult r = sampletest(200, 0.1, 14);
  FILE* report = tmpfile();
  enddiagramtestto(report, "x");
  fclose(report);
  EXPECT_GT(r.taken, 100);
  EXPECT_EQ(written(), before);
  EXPECT_EQ(x->x, x0);
  EXPECT_EQ(x->y, y0);
}

TEST_F(Continuity, SavingPointsOnCurvesIsAFixedPoint) {
  const char* text =
      "A = .free(0.123457, -0.765432);\nB = .free(1.11111, 0.333333);\n"
      "c = .c.vv(A, B);\nl = .l.vv(A, B);\n"
      "P = .vonc(c, 3.3333333, 2.2222222);\nQ = .vonl(l, -2.1212121, "
      "1.7);\n" ELLIPSE "R = .vonconic(K, 1.2345678, 0.7654321);\n";
  ASSERT_EQ(readtext(text), 1) << langtest::firstalert();
  checkconstraints();
  std::string once = written();
  ASSERT_EQ(readtext(once), 1);
  checkconstraints();
  std::string twice = written();
  EXPECT_EQ(twice, once);
  // Read back, the point on the circle is on it.
  vertex* p = static_cast<vertex*>(named("P"));
  circle* c = static_cast<circle*>(named("c"));
  EXPECT_NEAR(std::hypot(p->x - c->center.x, p->y - c->center.y), c->radius,
              1e-15);
}

TEST_F(Continuity, NewDiagramsAreInDegreeModeAndContinuityIsAPreference) {
  EXPECT_EQ(degreemode, 1);
  EXPECT_EQ(written().find(".radianmode"), std::string::npos);
  EXPECT_EQ(keepcontinuous, 1);
  parsedefaultline("nocontinuity");
  EXPECT_EQ(keepcontinuous, 0);
  resetprefs();
  EXPECT_EQ(keepcontinuous, 1);
}

}  // namespace
