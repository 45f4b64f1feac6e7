// reset.cpp: putting every language module back to its start-up state.
#include "language/lexer.h"
#include "language/parser.h"
#include "language/properties.h"
#include "language/rpn.h"
#include "language/symtable.h"
#include "language/writer.h"

void resetlanguage() {
  texttoken[0] = 0;
  textptr = 0;
  longtoken = 0;
  floattoken = 0;
  linecount = 1;
  parsingnewlines = 0;
  macroname[0] = 0;
  suffix = nullptr;
  fakefile = fakefileptr = nullptr;
  fileversion = 0;
  thisversion = 0.65;
  fpout = nullptr;
  if (!restable) inittables();
  resetparser();
  resetproperties();
  resetrpn();
}
