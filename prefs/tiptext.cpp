// tiptext.cpp: the 43 usage tips and the order in which they are shown.
//
// Each tip names the program's own menu items, buttons and keys exactly as
// they are labelled, in lines short enough for the tips window.
#include "prefs/tiptext.h"

#include <cstdlib>

// ORDER TIPS: the window shows them by index; keep the count in NTIPS.
const char* const helpmsgs[NTIPS + 1] = {
    /* 0 */
    "Hold down the 'Ctrl' key when you create a primitive with\n"
    "a button of the control panel: Ctrl-click the button and\n"
    "it stays active, so you can build one object after another\n"
    "of the same kind. This is repeat mode; press 'Cancel Repeat\n"
    "Mode' (or Ctrl-g) when you are done.",

    /* 1 */
    "If you create an angle that goes the wrong way round,\n"
    "select it and choose 'Flip Angle' in the 'Edit' menu\n"
    "(Ctrl-a). The angle is then measured from the other arm.",

    /* 2 */
    "The mouse wheel magnifies and shrinks the whole diagram\n"
    "about the point under the mouse, by a tenth per click. The\n"
    "'Page Up' and 'Page Down' keys do it by one percent per\n"
    "press about the centre (keypad 9 and 3 do the same); hold\n"
    "Ctrl with them to rotate instead.",

    /* 3 */
    "The 'home' and 'end' keys rotate the entire diagram about\n"
    "the centre of the drawing area, one degree per press:\n"
    "'home' turns it clockwise, 'end' counterclockwise.",

    /* 4 */
    "If you are having trouble selecting something, hold down\n"
    "Ctrl and click: every Ctrl-click selects the next object\n"
    "under the mouse, so you can step through objects that lie\n"
    "on top of each other. A pinned point is only picked when\n"
    "no other point is under the mouse.",

    /* 5 */
    "If you double-click on a primitive creation button, it\n"
    "stays active after the object is made, and you can make\n"
    "several objects of the same kind in a row. Press 'Cancel\n"
    "Repeat Mode' (or Ctrl-g) to get back to Manipulation Mode.",

    /* 6 */
    "If you want a point that cannot be moved, make it with\n"
    "'Pinned P' (Primitives menu, Point). Dragging leaves it\n"
    "where it is; zooming, rotating and moving the whole\n"
    "diagram still take it along.",

    /* 7 */
    "To change the name of a primitive, select it and choose\n"
    "'Edit Name' in the 'Edit' menu (Ctrl-n). Type the new name\n"
    "and press OK; an empty name removes the label.",

    /* 8 */
    "To make auxiliary primitives that you need to build a\n"
    "figure but do not want to see, give them the colour\n"
    "Invisible: select one and press Ctrl-i, or choose\n"
    "Invisible in the 'Color' choice. They still take part in\n"
    "every construction that uses them.",

    /* 9 */
    "To view the invisible primitives in your diagram, press\n"
    "the 'Show Invis' button of the control panel. They are\n"
    "drawn in grey and can be selected; press the button again\n"
    "to hide them.",

    /* 10 */
    "If you are creating a primitive and are confused about\n"
    "what to do next, look at the prompt field of the control\n"
    "panel: it says what Tessarin expects, such as 'Pick Point\n"
    "2' or 'Pick Circle'. 'Cancel Repeat Mode' (Ctrl-g) gives\n"
    "up the construction and returns to Manipulation Mode.",

    /* 11 */
    "If your angles come out 'backwards', remember that 'PPP=>A'\n"
    "measures counterclockwise from the arm through the first\n"
    "point to the arm through the third; the second point is\n"
    "the vertex. Pick the ends the other way round, or use\n"
    "'Flip Angle' (Ctrl-a).",

    /* 12 */
    "The 'Rpt Set Color' button puts you into repeat mode for\n"
    "colouring: choose a colour in the 'Color' choice, then\n"
    "click every object that should get it. Press 'Cancel\n"
    "Repeat Mode' (or Ctrl-g) when you are finished.",

    /* 13 */
    "If you are editing the textual form of the diagram ('Edit\n"
    "Geometry', Ctrl-e) and make a mistake, Tessarin names the\n"
    "line and opens the editor again at it. 'Quit (No Save)' in\n"
    "the editor's File menu gives you back the diagram as it\n"
    "was before editing.",

    /* 14 */
    "To display the length of a line segment, the line must be\n"
    "a 'Segment' (see the 'Line Type' choice): select it and\n"
    "choose 'Display Value' in the 'Edit' menu (Ctrl-Shift-T).\n"
    "The length is listed at the left edge of the drawing and\n"
    "follows every drag. It works for angles and polygon areas\n"
    "too.",

    /* 15 */
    "If you want to see how some effect was obtained in a\n"
    "diagram, choose 'Edit Geometry' (Ctrl-e) to read its text,\n"
    "or select an object and choose 'Describe Geometry' in the\n"
    "'Edit' menu.",

    /* 16 */
    "If you're trying to figure out a locus problem, give the\n"
    "moving point the colour Smear in the 'Color' choice and\n"
    "drag the point it depends on: a grey trail shows every\n"
    "place it passed. The next click clears the trail.",

    /* 17 */
    "To change the properties (color, line style, point mark,\n"
    "angle mark, width) of an object, select it first and then\n"
    "choose the new value in the 'Color', 'Point Type', 'Line\n"
    "Type' or 'Angle Type' choice or in the 'Styles' menu.",

    /* 18 */
    "If only certain layers are visible (not all the layers are\n"
    "in force), new objects are made on the visible layers only,\n"
    "and a colour you choose changes the selected object on\n"
    "those layers only. 'Off' under 'View Proof' shows all\n"
    "layers again.",

    /* 19 */
    "To move the whole diagram, drag with the middle mouse\n"
    "button, or with the right button from empty space; Shift\n"
    "with the wheel moves it sideways. The arrow keys (up, down,\n"
    "left, and right) move it a small step in that direction.",

    /* 20 */
    "The Ctrl-l (Ctrl key + lower-case 'L') command switches\n"
    "'Wide Lines' (Styles menu) on and off: every line is drawn\n"
    "twice as wide, which helps when you present a diagram.",

    /* 21 */
    "Look in the 'Edit Preferences' command in the 'Edit' menu\n"
    "to set the size of the drawing area, the font of the text\n"
    "in the drawing, the point size, the print command, and\n"
    "whether these tips appear at start-up.",

    /* 22 */
    "When you save an Encapsulated PostScript (EPS) file with\n"
    "'Save EPS File' in the 'File' menu, it shows the current\n"
    "view; the chooser offers the name beside the diagram: x.T\n"
    "becomes x.eps. A diagram without a name gives geom.eps.",

    /* 23 */
    "If the current color is 'Invisible', new objects are still\n"
    "made white, so that you can see what you build. Choose a\n"
    "colour with an object selected to change that object.",

    /* 24 */
    "If you want to show that two adjacent angles are equal,\n"
    "give both the same mark: select each angle and choose, for\n"
    "example, '2 Rings' or '1 Slash' in the 'Angle Type' choice.\n"
    "Segments get slashes from Styles > Line.",

    /* 25 */
    "See the help or the reference manual to learn the diagram\n"
    "language ('Reference Manual' in the 'Help' menu). With\n"
    "'Edit Geometry' you can then type what the menus do not\n"
    "offer: computed values, scripts, macros and transforms.",

    /* 26 */
    "If you want to draw evenly spaced dots to suggest a hidden\n"
    "or helping line, select the line and choose 'Dotted' in\n"
    "Styles > Line; 'Dashed' gives dashes and 'Solid' goes back.",

    /* 27 */
    "To reset a script (that you just ran with the 'Run Script'\n"
    "button or the s key), press a key or click in the drawing\n"
    "area: the script value goes back to its start.",

    /* 28 */
    "If you select an item and accidentally click on a\n"
    "construction button, the prompt asks you for picks. Press\n"
    "'Cancel Repeat Mode' (or Ctrl-g) to return to Manipulation\n"
    "Mode, then select the item again.",

    /* 29 */
    "If you are emailed a Tessarin program, you can simply save\n"
    "the text in a file whose name ends in .T and open it with\n"
    "'Open' in the 'File' menu (Ctrl-o), or add it to your\n"
    "diagram with 'Insert File'.",

    /* 30 */
    "To edit descriptive text, click on it to select it (it is\n"
    "underlined), then choose 'Edit Text' in the 'Edit' menu.\n"
    "Change the text and press Save.",

    /* 31 */
    "To create descriptive text, use the 'Primitives' menu:\n"
    "Text > 'Descriptive Text'. Type the text and press Save;\n"
    "it is listed at the left of the drawing. \\alpha gives a\n"
    "Greek letter and x\\sup{2} an exponent.",

    /* 32 */
    "If you want to see these hints after you've turned them\n"
    "off, choose 'Usage Tips' in the 'Help' menu. Tick 'Show\n"
    "tip at startup' to have them at every start again.",

    /* 33 */
    "The shortcut to set the selected primitive to be invisible\n"
    "is Ctrl-i (the Tab key does the same). 'Show Invis' lets\n"
    "you see and select it again.",

    /* 34 */
    "There are additional colors other than those in the 'Color'\n"
    "choice: Ctrl-Shift-0 gives black, and in the diagram text\n"
    ".c8 to .c31 are more colours, which a line such as\n"
    ".c9 = (1, 0.5, 0); redefines ('Edit Geometry', Ctrl-e).",

    /* 35 */
    "The Test Diagram and End Test commands tell Tessarin to look\n"
    "for relations: choose 'Test Diagram' in the 'Proof' menu,\n"
    "drag the free points around, then choose 'End Test'. The\n"
    "relations that held all the time are listed and saved in\n"
    "relations.txt beside the diagram.",

    /* 36 */
    "To find out how an object is defined and what it depends\n"
    "on, select it and choose 'Describe Geometry' in the 'Edit'\n"
    "menu.",

    /* 37 */
    "To have a primitive appear in different colors on different\n"
    "layers, turn on 'Layer Display' (Edit menu), put only the\n"
    "layers you want in force with the layer buttons, select\n"
    "the primitive and choose a colour. 'Start', 'Next' and\n"
    "'Prev' under 'View Proof' then show it layer by layer.",

    /* 38 */
    "News and updates of Tessarin are on its home page, which\n"
    "'Documentation' in the 'Help' menu (Ctrl-h) opens.",

    /* 39 */
    "You can change the size of the text in the user interface in\n"
    "'Edit Preferences' (Edit menu): tick 'Large UI Font' and\n"
    "start Tessarin again.",

    /* 40 */
    "To bisect an angle, use the 'PPP=>P Bis' command in the\n"
    "'Point' section: pick a point on one arm, the vertex and a\n"
    "point on the other arm. Join the new point to the vertex\n"
    "with 'PP=>L' to draw the bisector.",

    /* 41 */
    "Every change can be taken back: 'Undo' in the 'Edit' menu\n"
    "(Ctrl-z) undoes the last one, and 'Redo' (Ctrl-Shift-z or\n"
    "Ctrl-y) does it again. A whole drag, a run of zooming and a\n"
    "trip through 'Edit Geometry' are one step each.",

    /* 42 */
    "Tessarin keeps a copy of a modified diagram every 30\n"
    "seconds. If the program ends without saving (a crash, a\n"
    "power cut), start it again on the same file and answer\n"
    "Yes when it offers to recover the unsaved changes (No\n"
    "throws the copy away).",

    nullptr,
};
static_assert(sizeof helpmsgs / sizeof helpmsgs[0] == NTIPS + 1,
              "41 tips and the null entry");

const int primes[NTIPPRIMES] = {41, 43, 5, 47, 11, 13, 17, 19, 23, 29, 31, 37};
static_assert(sizeof primes / sizeof primes[0] == NTIPPRIMES, "12 steps");

int tipcount = 0;
int curtip = 0;
int tipincrement = 1;

int counttips() {
  int n = 0;
  while (helpmsgs[n]) n++;
  return n;
}

int tipgcd(int a, int b) {
  a = abs(a);
  b = abs(b);
  while (b) {
    int r = a % b;
    a = b;
    b = r;
  }
  return a;
}

int choosetipincrement(int count, int (*rnd)()) {
  // Without a usable entry the drawing would never end.
  int usable = 0;
  for (int p : primes) usable = usable || tipgcd(p, count) == 1;
  if (count < 2 || !usable) return 1;
  for (;;) {
    int p = primes[abs(rnd() % NTIPPRIMES)];
    if (tipgcd(p, count) == 1) return p;
  }
}

int steptip(int cur, int inc, int count, int direction) {
  if (count < 1) return 0;
  if (direction > 0) return (int)(((long long)cur + inc) % count);
  long long t = (long long)cur - inc;
  if (t < 0) t += ((-t + count - 1) / count) * count;
  return (int)t;
}

void starttips(int (*rnd)()) {
  if (!tipcount) tipcount = counttips();
  curtip = abs(rnd() % tipcount);
  tipincrement = choosetipincrement(tipcount, rnd);
}

void advancetip(int direction) {
  curtip = steptip(curtip, tipincrement, tipcount, direction);
}

void resettips() {
  tipcount = 0;
  curtip = 0;
  tipincrement = 1;
}
