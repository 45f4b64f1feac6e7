// describe.cpp: `tessarin-cli describe FILE NAME`: the one-sentence
// definition of the primitive whose identifier or label is NAME.
#include "relations/describe.h"

#include <cstdio>
#include <cstring>

#include "cli/verbs.h"
#include "language/symtable.h"
#include "model/notify.h"
#include "model/worldlist.h"

namespace {

// Identifiers are unique, so one names a primitive first; otherwise the
// first primitive of the list with that label.
primitive* findnamed(const char* name) {
  symtableentry* e = lookup(idtable, name);
  if (e && e->prim && *name) return e->prim;
  for (primitive* p = plist; p; p = p->next)
    if (p->label && !strcmp(p->label, name)) return p;
  return nullptr;
}

}  // namespace

int verbdescribe(int argc, char** argv) {
  if (argc != 2) return usage("describe FILE NAME");
  int status = loaddiagram(argv[0]);
  if (status != 0) return status;
  primitive* p = findnamed(argv[1]);
  if (!p) {
    alert("No primitive named %s", argv[1]);
    return 1;
  }
  char text[2048];
  describeprimitive(p, text, sizeof text);
  printf("%s\n", text);
  return 0;
}
