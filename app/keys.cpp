// keys.cpp: the keys and mouse buttons of the drawing area.
//
// `keycommand` is the whole key map as a pure function of the character
// and the modifiers, so the tables can be checked without sending events;
// `keyboard` adds what every key does first (stopping a script) and sends
// the command. The mouse feeds left presses to the state machine.
#include "app/keys.h"

#include <FL/Fl.H>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/commands.h"
#include "app/construction.h"
#include "app/geomwindow.h"
#include "app/script.h"
#include "model/notify.h"
#include "model/primitive.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"
#include "render/smear.h"
#include "render/view.h"

namespace {

// One key of a table: the character and its command.
struct keyentry {
  unsigned char key;
  int code;
};

const keyentry plainkeys[] = {
    {'1', 200001}, {'2', 200002}, {'3', 200010}, {'4', 200006},
    {'5', 200044}, {'n', 200235}, {'N', 200235}, {'p', 200232},
    {'P', 200232}, {'s', 200244}, {'S', 200244},
};

// Control keys; a letter's case says whether Shift was held.
const keyentry controlkeys[] = {
    {'a', 200231}, {'d', 200220}, {'e', 200238}, {'g', 200219}, {'h', 100008},
    {'i', 200149}, {'l', 200254}, {'L', 200254}, {'n', 200240}, {'N', 200240},
    {'o', 100002}, {'p', 100006}, {'q', 100007}, {'Q', 200239}, {'r', 100013},
    {'s', 100003}, {'S', 100004}, {'t', 200245}, {'T', 200246},
    {'z', 200256}, {'Z', 200257}, {'y', 200257}, {'Y', 200257},
};

// Ctrl-digit: without Shift the plain digit commands, with Shift colours.
const int shifteddigits[] = {200150, 200151, 200152, 200153,
                             200154, 200155, 200156, 200157};
static_assert(sizeof shifteddigits / sizeof shifteddigits[0] == 8,
              "colours 0 to 7");

const double ONEDEGREE = 0.01745329251994278;

int lookupkey(const keyentry* table, int n, unsigned char c) {
  for (int i = 0; i < n; i++)
    if (table[i].key == c) return table[i].code;
  return 0;
}

int digitcommand(int digit, int shift) {
  if (shift) return digit <= 7 ? shifteddigits[digit] : -1;
  if (digit >= 1 && digit <= 5)
    return lookupkey(plainkeys, 5, (unsigned char)('0' + digit));
  return digit == 0 || digit == 6 || digit == 7 ? 0 : -1;
}

int ignorerelease;  // the press that stopped a script swallows its release
int panning;        // a pan with the mouse is under way
int panx, pany;     // the pointer at the pan's last step

// A right press starts a pan only where a click would take nothing, so the
// button keeps its own use on objects.
int panstarts(int button, int x, int y) {
  if (button == 2) {
    double wx, wy;
    getpoint(&wx, &wy, x, ysize - y);
    if (clickpick(wx, wy)) return 0;
  }
  return button == 1 || button == 2;
}

}  // namespace

int keycommand(unsigned char c, int control, int shift, int digit,
               char* message, int* smear) {
  *message = 0;
  *smear = 0;
  if (c >= 1 && c <= 26) {
    control = 1;
    c = shift ? c + 64 : c + 96;
  }
  if (!control)
    return lookupkey(plainkeys, sizeof plainkeys / sizeof plainkeys[0], c);
  if (digit < 0 && c >= '0' && c <= '9') digit = c - '0';
  if (digit >= 0) {
    int code = digitcommand(digit, shift);
    if (code >= 0) return code;
  } else if (c == 'x' || c == 'X') {
    *smear = 1;
    return 0;
  } else if (c == 'D') {
    return 0;
  } else if (int code = lookupkey(
                 controlkeys, sizeof controlkeys / sizeof controlkeys[0], c)) {
    return code;
  }
  if (shift && c >= 'A' && c <= 'Z')
    snprintf(message, 40, "Unknown command: Ctrl-Shift-%c", c);
  else
    snprintf(message, 40, "Unknown command: Ctrl-%c", c);
  return 0;
}

void keyboard(unsigned char c, int, int) {
  stopscript();
  int control = Fl::event_state(FL_COMMAND) ? 1 : 0;
  int shift = Fl::event_state(FL_SHIFT) ? 1 : 0;
  int key = Fl::event_key();
  int digit = key >= '0' && key <= '9' ? key - '0' : -1;
  if (!control && !(c >= 1 && c <= 26)) digit = -1;
  char message[40];
  int smear;
  int code = keycommand(c, control, shift, digit, message, &smear);
  if (smear) smearflag = !smearflag;
  if (*message) showmessagewindow(message, 0.8);
  if (code) handlemenu(code);
}

void special(int key, int, int) {
  // Any key stops a running script, arrows and page keys included; only the
  // character keys also rewind it, as typing s restarts from the start.
  if (runningscript) stopscript();
  int command = Fl::event_state(FL_COMMAND) ? 1 : 0;
  switch (key) {
    case FL_Left: moveworld(-1, 0); break;
    case FL_Right: moveworld(1, 0); break;
    case FL_Up: moveworld(0, 1); break;
    case FL_Down: moveworld(0, -1); break;
    case FL_Home: rotateworld(ONEDEGREE); break;
    case FL_End: rotateworld(-ONEDEGREE); break;
    case FL_Page_Up:
    case FL_KP + '9':
      if (command)
        rotateworld(ONEDEGREE);
      else
        zoomworld(1.01);
      break;
    case FL_Page_Down:
    case FL_KP + '3':
      if (command)
        rotateworld(-ONEDEGREE);
      else
        zoomworld(0.9900990099009901);
      break;
    default: return;  // function keys and the rest move nothing
  }
  blinkonly = 0;
  redrawgeometry();
}

void mouse(int button, int state, int x, int y) {
  if (state == 0 && runningscript) {
    stopscript();
    ignorerelease = 1;
    return;
  }
  if (Script) Script->value = Script->start;
  blinkonly = 0;
  if (state == 0) {
    clearsmearlist();
    if (button == 0) handlegeombutton(x, ysize - y);
    if (panstarts(button, x, y)) {
      panning = 1;
      panx = x;
      pany = y;
    }
    if (button <= 1) redrawgeometry();
    return;
  }
  panning = 0;
  if (ignorerelease) {
    ignorerelease = 0;
    return;
  }
  if (button <= 1) redrawgeometry();
}

int panto(int x, int y) {
  if (!panning) return 0;
  if (x == panx && y == pany) return 1;
  double k = worldperpixel();
  panworld(k * (x - panx), -k * (y - pany));  // window y runs downwards
  panx = x;
  pany = y;
  blinkonly = 0;
  redrawgeometry();
  return 1;
}

void wheel(int dx, int dy, int x, int y) {
  if (Fl::event_state(FL_SHIFT)) {
    dx += dy;
    dy = 0;
  }
  double k = worldperpixel();
  if (dx) panworld(-k * WHEELPAN * dx, 0);
  if (dy) {
    double wx, wy;
    getpoint(&wx, &wy, x, ysize - y);
    zoomworldabout(std::pow(WHEELZOOM, -dy), wx, wy);
  }
  blinkonly = 0;
  redrawgeometry();
}

void resetkeys() {
  ignorerelease = 0;
  panning = 0;
}
