// editwindow.h: the window of the diagram text editor: its menu, its
// scrollbar and the editor view `text_window`, which draws the buffer and
// turns keys, clicks and clipboard events into editor commands.
//
// The window is built once, hidden, and shown modally for every round of
// Edit Geometry; the buffer and the commands are in editbuffer.h and
// editcmds.h.
#pragma once

#include <FL/Fl_Window.H>

class Fl_Double_Window;
class Fl_Scrollbar;
class Fl_Menu_Bar;

// The editor view: the text area of the editor window.
class text_window : public Fl_Window {
 public:
  text_window(int x, int y, int w, int h);
  void draw() override;
  int handle(int event) override;

 private:
  void drawline(struct _line* l, int index, int row);
  void clicked(int x, int y, int extend);
  void dragged(int x, int y);
};

extern Fl_Double_Window* editorwindow;  // the editor window, once built
extern text_window* editview;           // its text area
extern Fl_Scrollbar* editscroll;        // its scrollbar
extern Fl_Menu_Bar* editmenubar;        // its menu bar

// The first call builds the hidden window; every later call edits the file
// `ed.editpath` (see runeditor).
void makeeditorwindow();

// Builds the window when it is not built yet, loads `ed.editpath` with the
// cursor on `ed.starteditline`, shows the window modally and runs the
// toolkit until a done code is set. Returns `ed.editdone` (1 return to the
// diagram, 2 quit the program); 1 without editing when the file cannot be
// read.
int runeditor();

// The command code of the key just pressed (0 for none).
int getkeyboardcmd();

// The text size the view uses: the preference when it is a usable size.
int editorfontsize();

// Edit Geometry: the diagram's round trip through the editor. Returns 1
// when the diagram now holds the edited text, 0 when nothing changed, 2
// when the user chose "Quit Tessarin" there (the diagram is then the one
// from before editing; the caller asks about saving and ends the program).
int editgeometry();

// The text of a diagram file that failed to read, in the editor at `line`
// (see editfiletext); the same results.
int editfile(const char* path, int line);
