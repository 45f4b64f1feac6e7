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

void alert(const char* fmt, ...) {
  char buf[2048];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (alerthook)
    alerthook(buf);
  else
    fprintf(stderr, "%s\n", buf);
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
  char buf[2048];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (infohook)
    infohook(buf);
  else
    fprintf(stderr, "%s\n", buf);
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
