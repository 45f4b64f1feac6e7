// notifybind.cpp: the core's alerts, messages and questions shown with the
// toolkit's dialogs, and the transient message window.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>

#include <string>

#include "app/startup.h"
#include "model/notify.h"

static void fltkalert(const char* text) {
  fl_alert("%s", text);
}

static int fltkask(const char* question) {
  return fl_choice("%s", "No", "Yes", nullptr, question) == 1;
}

static Fl_Window* messagewindow;
static Fl_Box* messagebox;
static std::string messagetext;  // the box shows this string

static void closemessage(void*) {
  if (messagewindow) messagewindow->hide();
}

// A small window that closes by itself after `seconds`.
static void fltkmessage(const char* text, double seconds) {
  if (!messagewindow) {
    messagewindow = new Fl_Window(320, 60, "Message");
    messagebox = new Fl_Box(10, 10, 300, 40);
    messagebox->align(FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
    messagewindow->end();
    messagewindow->set_non_modal();
  }
  messagetext = text;
  messagebox->label(messagetext.c_str());
  Fl::remove_timeout(closemessage);
  messagewindow->show();
  Fl::add_timeout(seconds > 0 ? seconds : 1, closemessage);
}

void bindnotifyhooks() {
  alerthook = fltkalert;
  askhook = fltkask;
  messagehook = fltkmessage;
}
