// worldlist.h: the ordered list of a diagram's records, names and labels.
//
// The world list's order is creation order, file order and recomputation
// order: every record follows its parents. The list owns its records from
// `addprimitive` until deletion or clearing.
#pragma once

#include "model/primitive.h"

extern primitive* plist;             // head of the world list, null if empty
extern primitive* plisttail;         // last record of the world list
extern primitive* pselected;         // the selected record
extern primitive* selectedtextprim;  // the text record being edited
extern primitive* macroplist;        // scratch copies made by macro expansion
extern int parsingmacro;             // a macro body is being read
extern macro* openmacro;             // the macro whose body is being read
extern int addvertexnames;           // new vertices get automatic labels
extern int vnumber;                  // next automatic label number
extern int dirtyfile;                // the diagram has unsaved changes
extern int changepending;            // a change not yet taken into the history
extern const char* changename;       // what that change was ("Drag"), or null

// Appends to the open macro's body while one is read, else to the world
// list; marks the diagram modified. Does not recompute.
void addprimitive(primitive* p);

// Destroys every record of the world list and clears the selection.
void clearplist();

// Destroys every record of the macro scratch list.
void clearmacroplist();

// Empties the diagram: labels restart, identifiers and palette are cleared.
void clearbuffer();

// 1 when some record of the world list names p as a parent.
int isconstrained(primitive* p);

// 1 when p is a parent, an expression reference, a macro call's argument or
// result, or the macro a call expands: deleting it would leave a dangling
// reference.
int isreferenced(primitive* p);

// Removes p from the world list and destroys it, unless something refers to
// it ("Cannot delete constrained primitive"). Returns 1 when deleted.
int deleteprimitive(primitive* p);

// Swaps the outer parents of a three-point angle; other kinds unchanged.
void flipangle(primitive* p);

// Gives p a fresh identifier ("v1", "l2", ...) in the identifier table.
void genname(primitive* p);

// Gives v the next automatic label when `addvertexnames` is set.
void addvertexname(vertex* v);

// The label text for automatic label number n ("A".."Z", "a".."z", "1"...).
void labelfornumber(int n, char* buf, int size);

// The automatic label number a label stands for, or 0 for other labels.
int numberforlabel(const char* label);

// A selected vertex at (x, y), named and labelled; the caller sets its kind
// and adds it.
vertex* makevertex(double x, double y);

// Selects p (or nothing) and brings the menu states up to date.
void selectprim(primitive* p);

// Marks the diagram modified and a change pending for the history.
void setdirtyfile();

// Marks a change named `action` (a static string: "Drag", "Zoom", ...)
// pending; the first name since the last history step is kept.
void notechange(const char* action);

// The records that depend on p, directly or through others (parents,
// expression references, macro calls), in world-list order; p excluded.
int dependants(primitive* p, primitive** out, int max);

// Deletes p together with every record that depends on it. Returns the
// number of records deleted (0 when p is not in the world list).
int deletewithdependants(primitive* p);

// Puts every world-list global back to its start-up value (frees records).
void resetmodel();
