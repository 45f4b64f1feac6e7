// notify.cpp: the seam through which the core speaks to the user.
#include "model/notify.h"

#include <cstdarg>
#include <cstdio>

alertfn alerthook;
messagefn messagehook;
askfn askhook;
updatefn layerbuttonshook;
updatefn dirtyhook;
selectfn selecthook;
choicefn choicehook;
inputfn inputhook;
alertfn infohook;
statefn resetstatehook;
updatefn scripthook;

// Formats the text and hands it to the hook, or to standard error when the
// hook is unbound.
static void deliver(alertfn hook, const char* fmt, va_list ap) {
  char buf[2048];
  vsnprintf(buf, sizeof buf, fmt, ap);
  if (hook)
    hook(buf);
  else
    fprintf(stderr, "%s\n", buf);
}

void alert(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  deliver(alerthook, fmt, ap);
  va_end(ap);
}

void showmessagewindow(const char* text, double seconds) {
  if (messagehook)
    messagehook(text, seconds);
  else
    fprintf(stderr, "%s\n", text);
}

int askquestion(const char* question) {
  return askhook ? askhook(question) : 0;
}

int askchoice(const char* question, const char* b0, const char* b1,
              const char* b2) {
  return choicehook ? choicehook(question, b0, b1, b2) : 0;
}

const char* askinput(const char* prompt, const char* initial) {
  return inputhook ? inputhook(prompt, initial) : nullptr;
}

void inform(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  deliver(infohook, fmt, ap);
  va_end(ap);
}

void resetnotify() {
  alerthook = nullptr;
  messagehook = nullptr;
  askhook = nullptr;
  layerbuttonshook = nullptr;
  dirtyhook = nullptr;
  selecthook = nullptr;
  choicehook = nullptr;
  inputhook = nullptr;
  infohook = nullptr;
  resetstatehook = nullptr;
  scripthook = nullptr;
}
