// style.cpp: the style state new records take their defaults from.
#include "model/style.h"

#include "model/codes.h"
#include "model/notify.h"

int currentcolor = COLOR_WHITE;
int currentpointtype = RW_CIRCPOINT;
int currentlinetype = RW_SEGMENT;
int currentlinestyle = RW_SOLIDLINE;
int currentlinemark = RW_LINE0SLASH;
int currentangletype = RW_RING1;
int currentpolytype = RW_OUTLINEPOLY;
int defpolytype = RW_OUTLINEPOLY;
double widthmultiplier = 1.0;
uint32_t layerset = 0xffffffffu;
int minlayer = 0;
int showinvisible = 0;

void resetstyle() {
  currentcolor = COLOR_WHITE;
  currentpointtype = RW_CIRCPOINT;
  currentlinetype = RW_SEGMENT;
  currentlinestyle = RW_SOLIDLINE;
  currentlinemark = RW_LINE0SLASH;
  currentangletype = RW_RING1;
  currentpolytype = RW_OUTLINEPOLY;
  defpolytype = RW_OUTLINEPOLY;
  widthmultiplier = 1.0;
  layerset = 0xffffffffu;
  minlayer = 0;
  showinvisible = 0;
}

void updateminlayer() {
  minlayer = -1;
  for (int i = 0; i < NLAYERS; i++)
    if (layerset & (1u << i)) {
      minlayer = i;
      return;
    }
}

void setlayerbuttons() {
  updateminlayer();
  if (layerbuttonshook) layerbuttonshook();
}
