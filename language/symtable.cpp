// symtable.cpp: the keyword table and the identifier table.
#include "language/symtable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

symtable* restable;
symtable* idtable;

int hash(const char* name) {
  int sum = 0;
  for (const char* s = name; *s; s++) sum += (signed char)*s;
  int h = sum % NBUCKETS;
  return h < 0 ? h + NBUCKETS : h;
}

symtable* newtable(int n) {
  symtable* t = (symtable*)calloc(1, sizeof(symtable));
  for (symbucket& b : t->buckets) {
    b.entries = (symtableentry*)calloc(n, sizeof(symtableentry));
    b.capacity = n;
  }
  return t;
}

void freetable(symtable* t) {
  if (!t) return;
  for (symbucket& b : t->buckets) free(b.entries);
  free(t);
}

// Entries move when a bucket grows; every record named from the bucket must
// be pointed at its entry's new place.
static void growbucket(symbucket* b, int extra) {
  int cap = b->capacity + extra;
  symtableentry* e = (symtableentry*)realloc(b->entries, cap * sizeof *e);
  memset(e + b->capacity, 0, extra * sizeof *e);
  b->entries = e;
  b->capacity = cap;
  for (int i = 0; i < b->count; i++)
    if (e[i].prim) e[i].prim->symbol = &e[i];
}

symtableentry* addentry(symtable* t, const char* name, int code) {
  symbucket* b = &t->buckets[hash(name)];
  if (b->count >= b->capacity) growbucket(b, 100);
  symtableentry* e = &b->entries[b->count++];
  snprintf(e->name, SYMNAMESIZE, "%s", name);
  e->type = code;
  e->prim = nullptr;
  return e;
}

symtableentry* lookup(symtable* t, const char* name) {
  symbucket* b = &t->buckets[hash(name)];
  for (int i = 0; i < b->count; i++)
    if (strcmp(b->entries[i].name, name) == 0) return &b->entries[i];
  return nullptr;
}

symtableentry* strippedlookup(symtable* t, const char* name) {
  const char* d = strchr(name, '$');
  return d ? lookup(t, d + 1) : nullptr;
}

void removeentry(symtable* t, const char* name) {
  symbucket* b = &t->buckets[hash(name)];
  for (int i = 0; i < b->count; i++)
    if (strcmp(b->entries[i].name, name) == 0) {
      // the record is going away: growing the bucket must not touch it
      b->entries[i].name[0] = 0;
      b->entries[i].prim = nullptr;
    }
}

void cleartable(symtable* t) {
  for (symbucket& b : t->buckets) {
    for (int i = 0; i < b.count; i++) {
      b.entries[i].name[0] = 0;
      b.entries[i].prim = nullptr;
    }
    b.count = 0;
  }
}

void checksymtablesize(symtable* t) {
  for (symbucket& b : t->buckets)
    if (b.count >= b.capacity - 10) growbucket(&b, 100);
}
