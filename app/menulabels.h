// menulabels.h: the toolkit label types of the menus: colour entries with
// a swatch, and check items whose label keeps clear of their shortcut.
#pragma once

struct Fl_Menu_Item;

// Every item of `items` (n of them) shows a swatch of palette colour
// (user data - `codebase`), the special codes an empty box, then its name
// in black at `labelsize`.
void swatchlabels(Fl_Menu_Item* items, int n, int codebase, int labelsize);

// The check and radio items with a shortcut among the n items of `table`
// get a gap between label and shortcut.
void gaplabels(Fl_Menu_Item* table, int n);
