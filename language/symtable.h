// symtable.h: the keyword table and the identifier table.
//
// Both tables share one design: buckets chosen by a hash of the name, each a
// growable array of entries stored by value. An entry's address is stable
// only until its bucket grows; growing updates the `symbol` back-pointer of
// every record named from that bucket, and `checksymtablesize` grows buckets
// early so that a statement's entries stay put while it is read.
#pragma once

#include "model/primitive.h"

const int SYMNAMESIZE = 200;  // a statement's name is at most 199 characters
const int NBUCKETS = 153;

struct symtableentry {
  char name[SYMNAMESIZE];  // NUL-terminated; empty for removed entries
  int type;                // keyword code, or the named record's type code
  primitive* prim;         // the named record (null in the keyword table)
};

struct symbucket {
  symtableentry* entries;
  int count;
  int capacity;
};

struct symtable {
  symbucket buckets[NBUCKETS];
};

extern symtable* restable;  // reserved words, filled once by inittables
extern symtable* idtable;   // identifiers of the diagram

// Sum of the name's bytes as signed chars, modulo the bucket count.
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

// Grows every bucket within 10 entries of its capacity.
void checksymtablesize(symtable* t);
