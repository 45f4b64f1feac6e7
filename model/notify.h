// notify.h: the one seam through which the headless core speaks to the user.
//
// The core never calls a toolkit. Alerts, transient messages, questions and
// the few display updates it needs go through these hooks; the program binds
// them to FLTK, the command-line tool to standard error, and tests to a
// recorder. An unbound hook falls back to standard error (alerts, messages)
// or to doing nothing (display updates).
#pragma once

struct primitive;

typedef void (*alertfn)(const char* text);
typedef void (*messagefn)(const char* text, double seconds);
typedef int (*askfn)(const char* question);
typedef void (*updatefn)();
typedef void (*selectfn)(primitive* p);
typedef int (*choicefn)(const char* question, const char* b0, const char* b1,
                        const char* b2);
typedef const char* (*inputfn)(const char* prompt, const char* initial);
typedef void (*statefn)(int full);

extern alertfn alerthook;          // modal error alert
extern messagefn messagehook;      // transient message window
extern askfn askhook;              // yes (1) / no (0) question
extern updatefn layerbuttonshook;  // show `layerset` on the layer buttons
extern updatefn dirtyhook;         // the modified mark changed
extern selectfn selecthook;        // the selection changed (menu states)
extern choicefn choicehook;        // question with up to three answers
extern inputfn inputhook;          // one line of text from the user
extern alertfn infohook;           // modal information box
extern statefn resetstatehook;     // widgets follow resetstate(full)
extern updatefn scripthook;        // a script was read: enable Run Script

// Shows a modal alert (printf-style).
void alert(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Shows the transient message window for `seconds`.
void showmessagewindow(const char* text, double seconds);

// Asks a yes/no question; 1 for yes. Unbound: answers no.
int askquestion(const char* question);

// Asks a question with the answers b0, b1, b2 (b2 may be null); returns
// the index of the answer. Unbound: answers 0 (the first, cancelling one).
int askchoice(const char* question, const char* b0, const char* b1,
              const char* b2);

// Asks for one line of text, starting from `initial`; null when cancelled.
// The result stays valid until the next call. Unbound: cancels.
const char* askinput(const char* prompt, const char* initial);

// Shows a modal information box (printf-style).
void inform(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Puts every hook back to its unbound state.
void resetnotify();
