// symtable.cpp: the hash tables of names, their storage and growth.
//
// Entries are carved from blocks that are never moved or freed before the
// table itself, so the `symbol` of a record can never dangle while the
// table lives, and the blocks hold the entries in the order they were
// added. A small table keeps them in 153 buckets by the byte-sum hash; a
// crowded one is spread into an open-addressed array of (hash, entry)
// slots, where a lookup touches one slot run and only the entries whose
// hash matches.
#include "language/symtable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

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

static uint32_t fnv(const char* name) {
  uint32_t h = 2166136261u;
  for (const char* s = name; *s; s++) h = (h ^ (unsigned char)*s) * 16777619u;
  return h;
}

symtable* newtable(int n) {
  symtable* t = (symtable*)calloc(1, sizeof(symtable));
  t->initial = n;
  t->nbuckets = NBUCKETS;
  t->buckets = (symbucket*)calloc(NBUCKETS, sizeof(symbucket));
  for (int i = 0; i < NBUCKETS; i++) {
    t->buckets[i].capacity = n;
    t->buckets[i].entries = (symtableentry**)malloc(n * sizeof(void*));
    t->buckets[i].hashes = (uint32_t*)malloc(n * sizeof(uint32_t));
  }
  return t;
}

void freetable(symtable* t) {
  if (!t) return;
  for (int i = 0; i < t->nbuckets; i++) {
    free(t->buckets[i].entries);
    free(t->buckets[i].hashes);
  }
  free(t->buckets);
  free(t->slots);
  free(t->dups);
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

// A bucket that fills up grows by 100 entries.
static void append(symbucket* b, symtableentry* e, uint32_t h) {
  if (b->count >= b->capacity) {
    int cap = b->capacity + 100;
    b->entries = (symtableentry**)realloc(b->entries, cap * sizeof(void*));
    b->hashes = (uint32_t*)realloc(b->hashes, cap * sizeof(uint32_t));
    b->capacity = cap;
  }
  b->hashes[b->count] = h;
  b->entries[b->count++] = e;
}

// A name already in a slot (literal numbers repeat their "%f" text) keeps
// its first entry there; later ones wait in `dups`, where removeentry finds
// them, instead of lengthening every probe run around the slot.
static void putslot(symtable* t, uint32_t h, symtableentry* e) {
  uint32_t mask = t->nslots - 1, i = h & mask;
  for (; t->slots[i].entry; i = (i + 1) & mask) {
    if (t->slots[i].hash != h || strcmp(t->slots[i].entry->name, e->name))
      continue;
    if (t->ndups == t->capdups) {
      t->capdups = t->capdups ? 2 * t->capdups : 256;
      t->dups = (symtableentry**)realloc(t->dups, t->capdups * sizeof(void*));
    }
    t->dups[t->ndups++] = e;
    return;
  }
  t->slots[i].hash = h;
  t->slots[i].entry = e;
}

// Rebuilds the slots from the blocks, in the order the entries were added:
// along each probe run an earlier entry of a name stays ahead of a later
// one, so lookup still finds the first.
static void spread(symtable* t, int nslots) {
  while (nslots < 2 * t->count) nslots *= 2;
  free(t->slots);
  t->slots = (symslot*)calloc(nslots, sizeof(symslot));
  t->nslots = nslots;
  t->ndups = 0;
  for (symblock* k = t->store; k; k = k->next) {
    for (int i = 0; i < k->used; i++) putslot(t, fnv(k->e[i].name), &k->e[i]);
    if (k == t->cur) break;
  }
  for (int i = 0; i < t->nbuckets; i++) t->buckets[i].count = 0;
}

symtableentry* addentry(symtable* t, const char* name, int code) {
  symtableentry* e = newentry(t);
  snprintf(e->name, SYMNAMESIZE, "%s", name);
  e->type = code;
  e->prim = nullptr;
  uint32_t h = fnv(e->name);
  t->count++;
  if (t->slots) {
    if (2 * t->count > t->nslots) spread(t, 2 * t->nslots);
    putslot(t, h, e);
  } else {
    append(&t->buckets[hash(e->name)], e, h);
  }
  return e;
}

// Calls `found` for every entry named `name`, first to last, until it
// returns non-zero; returns that entry or null.
template <typename F>
static symtableentry* scan(symtable* t, const char* name, F found) {
  uint32_t h = fnv(name);
  if (t->slots) {
    uint32_t mask = t->nslots - 1;
    for (uint32_t i = h & mask; t->slots[i].entry; i = (i + 1) & mask) {
      symtableentry* e = t->slots[i].entry;
      if (t->slots[i].hash == h && strcmp(e->name, name) == 0 && found(e))
        return e;
    }
    return nullptr;
  }
  symbucket* b = &t->buckets[hash(name)];
  for (int i = 0; i < b->count; i++) {
    symtableentry* e = b->entries[i];
    if (b->hashes[i] == h && strcmp(e->name, name) == 0 && found(e)) return e;
  }
  return nullptr;
}

symtableentry* lookup(symtable* t, const char* name) {
  return scan(t, name, [](symtableentry*) { return 1; });
}

symtableentry* strippedlookup(symtable* t, const char* name) {
  const char* d = strchr(name, '$');
  return d ? lookup(t, d + 1) : nullptr;
}

void removeentry(symtable* t, const char* name) {
  // The hash stays with the emptied entry, so no lookup can match it again
  // (its name no longer compares equal) and its slot is not reused.
  std::vector<symtableentry*> hits;
  scan(t, name, [&](symtableentry* e) {
    hits.push_back(e);
    return 0;
  });
  for (int i = 0; i < (t->slots ? t->ndups : 0); i++)
    if (strcmp(t->dups[i]->name, name) == 0) hits.push_back(t->dups[i]);
  for (symtableentry* e : hits) {
    e->name[0] = 0;
    e->prim = nullptr;
  }
}

void cleartable(symtable* t) {
  for (symblock* k = t->store; k; k = k->next) {
    for (int i = 0; i < k->used; i++) {
      k->e[i].name[0] = 0;
      k->e[i].prim = nullptr;
    }
    if (k == t->cur) break;
  }
  for (symblock* k = t->store; k; k = k->next) k->used = 0;
  t->cur = t->store;
  for (int i = 0; i < t->nbuckets; i++) t->buckets[i].count = 0;
  t->count = 0;
  free(t->slots);  // back to the buckets
  t->slots = nullptr;
  t->nslots = 0;
  t->ndups = 0;
}

// Spreading happens only here, between statements: no caller holds an entry
// of a bucket then. (Entries never move either way.)
void checksymtablesize(symtable* t) {
  if (!t->slots && t->count > 4 * t->nbuckets) spread(t, 4096);
}
