// symtable.cpp: the hash tables of names, their storage and growth.
//
// Entries are carved from blocks that are never moved or freed before the
// table itself, so the `symbol` of a record can never dangle while the
// table lives. Buckets hold pointers to entries in insertion order.
#include "language/symtable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

symtable* restable;
symtable* idtable;

const int BLOCKENTRIES = 1024;

struct symblock {
  symblock* next;
  int used;
  symtableentry e[BLOCKENTRIES];
};

int hash(const char* name) {
  int sum = 0;
  for (const char* s = name; *s; s++) sum += (signed char)*s;
  int h = sum % NBUCKETS;
  return h < 0 ? h + NBUCKETS : h;
}

// Once a table is spread the byte sum (which gives "v12" and "v21" the same
// bucket) gives way to FNV-1a.
static int bucketof(const symtable* t, const char* name) {
  if (t->nbuckets == NBUCKETS) return hash(name);
  uint32_t h = 2166136261u;
  for (const char* s = name; *s; s++) h = (h ^ (unsigned char)*s) * 16777619u;
  return (int)(h & (uint32_t)(t->nbuckets - 1));
}

static void initbuckets(symtable* t, int nbuckets, int n) {
  t->nbuckets = nbuckets;
  t->buckets = (symbucket*)calloc(nbuckets, sizeof(symbucket));
  for (int i = 0; i < nbuckets; i++) {
    t->buckets[i].capacity = n;
    if (n) t->buckets[i].entries = (symtableentry**)malloc(n * sizeof(void*));
  }
}

static void freebuckets(symtable* t) {
  for (int i = 0; i < t->nbuckets; i++) free(t->buckets[i].entries);
  free(t->buckets);
}

symtable* newtable(int n) {
  symtable* t = (symtable*)calloc(1, sizeof(symtable));
  t->initial = n;
  initbuckets(t, NBUCKETS, n);
  return t;
}

void freetable(symtable* t) {
  if (!t) return;
  freebuckets(t);
  for (symblock* b = t->store; b;) {
    symblock* n = b->next;
    free(b);
    b = n;
  }
  free(t);
}

// Blocks are kept across clearings and reused from the first one.
static symtableentry* newentry(symtable* t) {
  symblock* b = t->cur;
  if (b && b->used == BLOCKENTRIES && b->next) {
    b = b->next;
    b->used = 0;
  }
  if (!b || b->used == BLOCKENTRIES) {
    symblock* nb = (symblock*)malloc(sizeof(symblock));
    nb->next = nullptr;
    nb->used = 0;
    if (b)
      b->next = nb;
    else
      t->store = nb;
    b = nb;
  }
  t->cur = b;
  return &b->e[b->used++];
}

static void append(symbucket* b, symtableentry* e) {
  if (b->count >= b->capacity) {
    int cap = b->capacity < 100 ? b->capacity + 100 : 2 * b->capacity;
    b->entries = (symtableentry**)realloc(b->entries, cap * sizeof(void*));
    b->capacity = cap;
  }
  b->entries[b->count++] = e;
}

symtableentry* addentry(symtable* t, const char* name, int code) {
  symtableentry* e = newentry(t);
  snprintf(e->name, SYMNAMESIZE, "%s", name);
  e->type = code;
  e->prim = nullptr;
  append(&t->buckets[bucketof(t, e->name)], e);
  t->count++;
  return e;
}

symtableentry* lookup(symtable* t, const char* name) {
  symbucket* b = &t->buckets[bucketof(t, name)];
  for (int i = 0; i < b->count; i++)
    if (strcmp(b->entries[i]->name, name) == 0) return b->entries[i];
  return nullptr;
}

symtableentry* strippedlookup(symtable* t, const char* name) {
  const char* d = strchr(name, '$');
  return d ? lookup(t, d + 1) : nullptr;
}

void removeentry(symtable* t, const char* name) {
  symbucket* b = &t->buckets[bucketof(t, name)];
  for (int i = 0; i < b->count; i++)
    if (strcmp(b->entries[i]->name, name) == 0) {
      // the record is going away: nothing may reach it through the entry
      b->entries[i]->name[0] = 0;
      b->entries[i]->prim = nullptr;
    }
}

void cleartable(symtable* t) {
  for (int i = 0; i < t->nbuckets; i++) {
    symbucket* b = &t->buckets[i];
    for (int k = 0; k < b->count; k++) {
      b->entries[k]->name[0] = 0;
      b->entries[k]->prim = nullptr;
    }
    b->count = 0;
  }
  t->cur = t->store;
  if (t->cur) t->cur->used = 0;
  t->count = 0;
  if (t->nbuckets != NBUCKETS) {  // back to the small table
    freebuckets(t);
    initbuckets(t, NBUCKETS, t->initial);
  }
}

// Spreading keeps every bucket's entries in insertion order, since entries
// are redistributed in the order of the old buckets' lists and names that
// are equal always share a bucket.
static void spread(symtable* t, int nbuckets) {
  symbucket* old = t->buckets;
  int oldn = t->nbuckets;
  initbuckets(t, nbuckets, 0);
  for (int i = 0; i < oldn; i++) {
    for (int k = 0; k < old[i].count; k++) {
      symtableentry* e = old[i].entries[k];
      append(&t->buckets[bucketof(t, e->name)], e);
    }
    free(old[i].entries);
  }
  free(old);
}

void checksymtablesize(symtable* t) {
  if (t->count <= 4 * t->nbuckets) return;
  int n = 1024;
  while (n < t->count) n *= 2;
  spread(t, n);
}
