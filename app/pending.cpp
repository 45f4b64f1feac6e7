// pending.cpp: stand-ins for entry points of modules being written at the
// same time; see pending.h.
#include "app/pending.h"

#include "model/notify.h"
#include "model/worldlist.h"

double thisversion = 0.65;
flt* Script;
uint32_t filelayerset = 0xffffffffu;

int readgeometry(const char* path) {
  alert("Reading %s is not available yet.", path);
  return 0;
}
int insertgeometry(const char* path) {
  return readgeometry(path);
}
int printall(const char* path) {
  alert("Writing %s is not available yet.", path);
  return 0;
}
void resetstate(int) {
  selectprim(nullptr);
}
