// pending.h: stand-ins for entry points of modules that are being written
// at the same time (reader, writer, export, relation finder, file state).
// Each goes as soon as its module is merged; nothing else may be added.
#pragma once

#include <cstdint>

struct flt;
struct primitive;

int readgeometry(const char* path);
int insertgeometry(const char* path);
int printall(const char* path);
extern double thisversion;
extern flt* Script;
extern uint32_t filelayerset;
void resetstate(int full);
