// gllines.cpp: segments, rays and whole lines with their dash styles,
// labels, listed lengths and tick marks; the line through two points.
#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "model/worldlist.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/smear.h"
#include "render/view.h"

static void stroke(wpoint P, wpoint Q) {
  batchsegment(P.x, P.y, Q.x, Q.y);
}

unsigned short stipplefor(int linestyle) {
  switch (linestyle) {
    case RW_DASHLINE: return 0xFF00;
    case RW_DOTLINE: return 0xCCCC;
    default:  // .solidline and unknown styles draw solid
      return 0;
  }
}

void drawline(line* l) {
  if (!l->valid || !setcolor(drawncolor(l), l->layercolor)) return;
  setprimwidth(l);
  wpoint P, Q;
  lineendpoints(l, ONSCREEN, &P, &Q);
  setdash(stipplefor(l->linestyle));
  stroke(P, Q);
  if (issmear(l)) addsmearitem(SMEAR_SEGMENT, P.x, P.y, Q.x, Q.y, 0);
  if (l->label) {
    wpoint at = linelabelanchor(P, Q);
    bitmap_output(at.x, at.y, l->label);
  }
  if (l->display && l->linetype == RW_SEGMENT) {
    char buf[256];
    snprintf(buf, sizeof buf, "%s = %6.3f", valuename(l),
             std::hypot(Q.x - P.x, Q.y - P.y));
    drawvalueentry(buf);
  }
  wpoint ticks[3][2];
  int n = linetickmarks(l->linemark, P, Q, SCREENTICKROOT, ticks);
  if (n) {
    setprimwidth(l);
    setdash(0);
  }
  for (int i = 0; i < n; i++) stroke(ticks[i][0], ticks[i][1]);
}

void drawaline(const vertex* p, const vertex* q, int selected) {
  wpoint P, Q;
  lineofpoints(p, q, &P, &Q);
  if (selected) setlinewidth(selectionfactor());
  stroke(P, Q);
  setlinewidth(defaultwidth);
}
