// symtable.h: the keyword table and the identifier table.
//
// Both tables share one design: a name hashes to a bucket, and a bucket
// lists its entries in insertion order; `lookup` returns the first entry
// with exactly that name. Entries live in blocks that never move, so an
// entry's address (a record's `symbol`) stays valid until the table is
// freed. A table starts with 153 buckets chosen by the byte-sum `hash`; when
// it holds many more names than that, `checksymtablesize` (called between
// statements) spreads it into an open-addressed array under a better hash,
// in which the first entry of a name still comes first. That changes no
// lookup result, only its cost.
#pragma once

#include <cstdint>

#include "model/primitive.h"

const int SYMNAMESIZE = 200;  // a statement's name is at most 199 characters
const int NBUCKETS = 153;

struct symtableentry {
  char name[SYMNAMESIZE];  // NUL-terminated; empty for removed entries
  int type;                // keyword code, or the named record's type code
  primitive* prim;         // the named record (null in the keyword table)
};

struct symbucket {
  symtableentry** entries;  // in insertion order
  uint32_t* hashes;         // FNV-1a of each entry's name, checked first
  int count;
  int capacity;
};

struct symblock;  // storage of entries, never moved

struct symslot {
  uint32_t hash;  // FNV-1a of the name
  symtableentry* entry;
};

struct symtable {
  symbucket* buckets;
  int nbuckets;          // NBUCKETS while the buckets hold the entries
  symslot* slots;        // once spread: open addressing, null before
  int nslots;            // a power of two, at least twice `count`
  symtableentry** dups;  // once spread: later entries of a name in a slot
  int ndups, capdups;
  int count;        // entries added since the last clearing
  int initial;      // room each bucket starts with
  symblock* store;  // entry storage
  symblock* cur;    // the block new entries come from
};

extern symtable* restable;  // reserved words, filled once by inittables
extern symtable* idtable;   // identifiers of the diagram
extern int minortype;       // sub-code left by reswordtype

// Keyword classes, the result of reswordtype. ORDER CLASSES.
enum keywordclass {
  kwheader,
  kwtype,
  kwlinetype,
  kwpointmark,
  kwcolor,
  kwlayer,
  kwvertex,
  kwline,
  kwcircle,
  kwbezier,
  kwlength,
  kwangle,
  kwtext,
  kwratio,
  kwcomment,
  kwconic,
  kwmacro,
  kwreturn,
  kwanglemark,
  kwmode,
  kwarc,
  kwpolygon,
  kwrpnop,
  kwflt,
  kwpolystyle,
  kwxform,
  kwslash,
  kwcondition,
  kwdisplay,
  kwwidth
};

const int NRESERVED = 318;  // keywords entered by inittables

// Sum of the name's bytes as signed chars, modulo 153.
int hash(const char* name);

// A new table whose buckets each have room for n entries.
symtable* newtable(int n);

// Frees a table made by newtable.
void freetable(symtable* t);

// Appends an entry (no duplicate check) and returns it. Names longer than
// SYMNAMESIZE-1 characters are cut.
symtableentry* addentry(symtable* t, const char* name, int code);

// First entry named exactly `name`, or null.
symtableentry* lookup(symtable* t, const char* name);

// lookup of the part after the first '$', or null when there is none.
symtableentry* strippedlookup(symtable* t, const char* name);

// Empties the name of every entry called `name` (slots are not reused).
void removeentry(symtable* t, const char* name);

// Empties every bucket, keeping capacities.
void cleartable(symtable* t);

// Makes room between statements: spreads a crowded table over more buckets.
void checksymtablesize(symtable* t);

// The class of a keyword code; sets `minortype` (left unchanged for codes
// whose sub-code means nothing). The argument-slot codes 296 to 299 and 301
// are reported as "Bad reserved word".
int reswordtype(int code);

// Creates both tables (once) and enters every reserved word.
void inittables();

// The keyword spelling of a code (its first spelling), or null.
const char* reswordname(int code);
