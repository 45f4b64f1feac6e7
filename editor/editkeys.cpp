// editkeys.cpp: the editor's keyboard tables, built once from the list of
// keys with their plain and shifted characters and the list of bindings.
#include "editor/editkeys.h"

#include <FL/Enumerations.H>

#include "editor/editcmds.h"

// ORDER EDITKEYS: the printable keys, then the editing keys.
const int editkeycodes[NEDITKEYS] = {
    'a',          'b',       'c',         'd',          'e',       'f',
    'g',          'h',       'i',         'j',          'k',       'l',
    'm',          'n',       'o',         'p',          'q',       'r',
    's',          't',       'u',         'v',          'w',       'x',
    'y',          'z',       '1',         '2',          '3',       '4',
    '5',          '6',       '7',         '8',          '9',       '0',
    '`',          '-',       '=',         '[',          ']',       '\\',
    ';',          '\'',      ',',         '.',          '/',       ' ',
    FL_Tab,       FL_Enter,  FL_KP_Enter, FL_BackSpace, FL_Delete, FL_Up,
    FL_Down,      FL_Left,   FL_Right,    FL_Home,      FL_End,    FL_Page_Up,
    FL_Page_Down, FL_Insert, FL_Escape};

const int NPRINTKEYS = 48;
// The shifted characters of the printable keys (a US keyboard).
static const char shiftedkeys[NPRINTKEYS + 1] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ!@#$%^&*()~_+{}|:\"<>? ";
static_assert(sizeof shiftedkeys == NPRINTKEYS + 1, "one per printable key");

struct keybinding {
  int key;   // toolkit key code
  int mods;  // editmod bits
  int code;  // command
};

static const int S = EM_SHIFT, C = EM_COMMAND;

static const keybinding bindings[] = {
    {'a', C, EC_LINESTART},
    {'b', C, EC_LEFT},
    {'c', C, EC_COPY},
    {'c', C | S, EC_COPY},
    {'d', C, EC_DELETE},
    {'e', C, EC_LINEEND},
    {'f', C, EC_FIND},
    {'f', C | S, EC_FIND},
    {'k', C, EC_KILLLINE},
    {'n', C, EC_DOWN},
    {'o', C, EC_OPENLINE},
    {'p', C, EC_UP},
    {'q', C | S, EC_QUITNOSAVE},
    {'s', C, EC_SAVE},
    {'s', C | S, EC_SAVE},
    {'u', C, EC_KILLBACK},
    {'v', C, EC_PASTE},
    {'v', C | S, EC_PASTE},
    {'y', C, EC_PASTE},
    {'y', C | S, EC_PASTE},
    {'w', C, EC_CUT},
    {'w', C | S, EC_CUT},
    {'x', C, EC_CUT},
    {'x', C | S, EC_CUT},
    {'z', C, EC_UNDO},
    {'z', C | S, EC_REDO},
    {FL_Tab, 0, EC_TAB},
    {FL_Tab, S, EC_TAB},
    {FL_Enter, 0, EC_NEWLINE},
    {FL_Enter, S, EC_NEWLINE},
    {FL_KP_Enter, 0, EC_NEWLINE},
    {FL_KP_Enter, S, EC_NEWLINE},
    {FL_BackSpace, 0, EC_BACKSPACE},
    {FL_BackSpace, S, EC_BACKSPACE},
    {FL_Delete, 0, EC_DELETE},
    {FL_Delete, S, EC_DELETE},
    {FL_Up, 0, EC_UP},
    {FL_Down, 0, EC_DOWN},
    {FL_Left, 0, EC_LEFT},
    {FL_Right, 0, EC_RIGHT},
    {FL_Home, 0, EC_LINESTART},
    {FL_End, 0, EC_LINEEND},
    {FL_Home, C, EC_TOP},
    {FL_End, C, EC_END},
};

static uint16_t keytable[NEDITKEYS][NEDITMODS];      // caps lock off
static uint16_t capskeytable[NEDITKEYS][NEDITMODS];  // caps lock on
static int tablesbuilt;

static int keyslot(int key) {
  for (int i = 0; i < NEDITKEYS; i++)
    if (editkeycodes[i] == key) return i;
  return -1;
}

static void buildkeytables() {
  for (int i = 0; i < NPRINTKEYS; i++) {
    keytable[i][0] = (uint16_t)editkeycodes[i];
    keytable[i][EM_SHIFT] = (uint16_t)(unsigned char)shiftedkeys[i];
  }
  for (const keybinding& b : bindings)
    keytable[keyslot(b.key)][b.mods] = (uint16_t)b.code;
  for (int i = 0; i < NEDITKEYS; i++)
    for (int m = 0; m < NEDITMODS; m++) capskeytable[i][m] = keytable[i][m];
  for (int i = 0; i < 26; i++) capskeytable[i][0] = keytable[i][EM_SHIFT];
  tablesbuilt = 1;
}

int keytocommand(int key, int state) {
  if (!tablesbuilt) buildkeytables();
  int slot = keyslot(key);
  if (slot < 0) return 0;
  int mods = (state & FL_SHIFT ? EM_SHIFT : 0) |
             (state & FL_COMMAND ? EM_COMMAND : 0) |
             (state & FL_ALT ? EM_ALT : 0);
  return state & FL_CAPS_LOCK ? capskeytable[slot][mods] : keytable[slot][mods];
}
