// preffile.cpp: reading and writing the per-user preferences file.
//
// Reading is a table of keywords tried in order against the start of each
// line; writing lists only the settings that differ from the defaults and
// goes through the safe-save routine (fileio/safesave.h).
#include "prefs/preffile.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/continuity.h"
#include "fileio/openfile.h"
#include "fileio/safesave.h"
#include "model/notify.h"
#include "model/worldlist.h"
#include "prefs/prefchoices.h"
#include "prefs/recent.h"
#include "postscript/eps.h"
#include "render/colors.h"
#include "render/view.h"

char browsername[BROWSERNAMESIZE] = "xdg-open";
char printcmdstring[PRINTCMDSIZE];
int WIDTH = 400;
int HEIGHT = 450;
int bigfont = 0;
int singlebuffer = 0;
int showthetips = 1;
int showinfomsg = 1;
int showthelayers = 0;
int edittextsize = 12;
int scalechoice = 0;
int sizegiven = 0;
int autowidth = 400, autoheight = 450;
FILE* defaultfile = nullptr;
char lastfolder[PREFLINESIZE];

namespace {

const int MINSIZE = 200;
// The largest drawing area the options dialog accepts; far larger sizes
// fail inside the GL library, and WIDTH plus the panel must stay an int.
const int MAXSIZE = 8191;

// The write under way; its stream is `defaultfile`.
safesave prefsave;

// Copies the value into a fixed buffer, cut at the buffer's size and at the
// first line break (so a value can never smuggle in a second setting).
void copyvalue(char* dst, int size, const char* value) {
  int n = 0;
  while (n < size - 1 && value[n] && value[n] != '\n' && value[n] != '\r') {
    dst[n] = value[n];
    n++;
  }
  dst[n] = '\0';
}

// Reads one integer at *s, moving *s past it. Returns 0, leaving *v, when
// no number is there; numbers beyond int are pinned to its limits.
int readint(const char** s, int* v) {
  char* end;
  errno = 0;
  long n = strtol(*s, &end, 10);
  if (end == *s) return 0;
  if (n > INT_MAX) n = INT_MAX;
  if (n < INT_MIN) n = INT_MIN;
  *v = (int)n;
  *s = end;
  return 1;
}

// Reads one integer into *v and puts `fallback` there when the result lies
// outside lo..hi (an unreadable number keeps the old value for the test).
void readranged(const char* value, int* v, int lo, int hi, int fallback) {
  readint(&value, v);
  if (*v < lo || *v > hi) *v = fallback;
}

int clampint(int v, int lo, int hi) {
  return v < lo ? lo : v > hi ? hi : v;
}

// size -> "%d %d": each side is brought into 200..8191
void applysize(const char* value) {
  if (readint(&value, &WIDTH)) readint(&value, &HEIGHT);
  WIDTH = clampint(WIDTH, MINSIZE, MAXSIZE);
  HEIGHT = clampint(HEIGHT, MINSIZE, MAXSIZE);
  sizegiven = 1;
}

// scale -> one of the offered percentages; anything else is Auto (0)
void applyscale(const char* value) {
  int v = 0;
  readint(&value, &v);
  scalechoice = 0;
  for (const prefchoice& c : scalechoices)
    if (v == c.value) scalechoice = v;
}

// Files written before the default was this platform's own name the
// other platform's browser, which cannot run here.
void applybrowser(const char* value) {
  copyvalue(browsername, BROWSERNAMESIZE, value);
  if (strcmp(browsername, "explorer.exe") == 0)
    strcpy(browsername, DEFAULTBROWSER);
}
void applyprintcmd(const char* value) {
  copyvalue(printcmdstring, PRINTCMDSIZE, value);
}
void applylastfolder(const char* value) {
  copyvalue(lastfolder, PREFLINESIZE, value);
}
void applyprintbw(const char*) {
  printbw = 1;
}
void applybigfont(const char*) {
  bigfont = 1;
}
void applynotips(const char*) {
  showthetips = 0;
}
void applysinglebuffer(const char*) {
  singlebuffer = 1;
}
void applyrgbmode(const char*) {
  rgbmode = 1;
}
void applyindexmode(const char*) {
  rgbmode = 0;
}
void applynonames(const char*) {
  addvertexnames = 0;
}
void applynomsginfo(const char*) {
  showinfomsg = 0;
}
void applylayershow(const char*) {
  showthelayers = 1;
}
void applynocontinuity(const char*) {
  keepcontinuous = 0;
}
void applynosmooth(const char*) {
  smoothdrawing = 0;
}
void applyrecent(const char* value) {
  addrecentline(value);
}

void applyfontsize(const char* value) {
  readranged(value, &fontsize, 6, 50, 16);
  gfontsize = fontsize;
}
// The preferences dialog offers 32 pt for the editor too; without the
// exception a size chosen there would come back as 14 at the next start.
void applyedittextsize(const char* value) {
  readint(&value, &edittextsize);
  if (edittextsize != 32 && (edittextsize < 6 || edittextsize > 30))
    edittextsize = 14;
}
void applyvertexsize(const char* value) {
  readranged(value, &gvertexsize, 4, 40, 8);
}

struct prefword {
  const char* word;
  int value;
};

// Toolkit font numbers of the faces the file names.
const prefword fontwords[] = {
    {"HELVETICA", 0},
    {"TIMES", 8},
    {"COURIER", 4},
};
static_assert(sizeof fontwords / sizeof fontwords[0] == 3, "three faces");

// Tried over each word's length, so BOLDITALIC has to come before BOLD or
// it would read as plain bold.
const prefword stylewords[] = {
    {"PLAIN", 0},
    {"BOLDITALIC", 3},
    {"BOLD", 1},
    {"ITALIC", 2},
};
static_assert(sizeof stylewords / sizeof stylewords[0] == 4, "four styles");

// Sets *v to the value of the first word that starts `value`; another word
// leaves *v alone.
void matchword(const char* value, const prefword* words, int n, int* v) {
  for (int i = 0; i < n; i++)
    if (strncmp(value, words[i].word, strlen(words[i].word)) == 0) {
      *v = words[i].value;
      return;
    }
}

void applydisplayfont(const char* value) {
  matchword(value, fontwords, 3, &fontnumber);
}
void applyfontstyle(const char* value) {
  matchword(value, stylewords, 4, &fontstyle);
}

struct prefkeyword {
  const char* word;
  void (*apply)(const char* value);
};

// The order is the order of the tests: the first keyword that is a prefix
// of the line wins.
const prefkeyword prefkeywords[] = {
    {"browser", applybrowser},
    {"printcmd", applyprintcmd},
    {"size", applysize},
    {"printbw", applyprintbw},
    {"bigfont", applybigfont},
    {"displayfont", applydisplayfont},
    {"fontsize", applyfontsize},
    {"edittextsize", applyedittextsize},
    {"vertexsize", applyvertexsize},
    {"notips", applynotips},
    {"singlebuffer", applysinglebuffer},
    {"fontstyle", applyfontstyle},
    {"rgbmode", applyrgbmode},
    {"indexmode", applyindexmode},
    {"nonames", applynonames},
    {"nomsginfo", applynomsginfo},
    {"layershow", applylayershow},
    {"nocontinuity", applynocontinuity},
    {"nosmooth", applynosmooth},
    {"lastfolder", applylastfolder},
    {"recent", applyrecent},
    {"scale", applyscale},
};
static_assert(sizeof prefkeywords / sizeof prefkeywords[0] == 22,
              "one entry per setting");

// Reads one line of at most PREFLINESIZE - 1 bytes into buf, dropping the
// rest of a longer line so its tail is not taken for a setting of its own.
// Returns 0 at the end of the file or at a read error.
int readprefline(FILE* f, char* buf) {
  int c, n = 0;
  while ((c = getc(f)) != EOF) {
    if (c == '\n') break;
    if (n < PREFLINESIZE - 1) buf[n++] = (char)c;
  }
  buf[n] = '\0';
  if (c == EOF && ferror(f)) return 0;
  return c != EOF || n > 0;
}

// Writes the value of a text setting up to its first line break.
void writetext(const char* keyword, const char* value) {
  fprintf(defaultfile, "%s ", keyword);
  for (const char* c = value; *c && *c != '\n' && *c != '\r'; c++)
    putc(*c, defaultfile);
  putc('\n', defaultfile);
}

// Writes `word` alone when the flag is on.
void writeflag(int on, const char* word) {
  if (on) fprintf(defaultfile, "%s\n", word);
}

}  // namespace

const char* defaultfilename() {
  static std::string name;
  const char* home = getenv("HOME");
  // An empty HOME would put the file in the root directory.
  name = std::string(home && *home ? home : ".") + "/.tessarinrc";
  return name.c_str();
}

void parsedefaultline(const char* line) {
  char buf[PREFLINESIZE];
  copyvalue(buf, PREFLINESIZE, line);
  for (const prefkeyword& k : prefkeywords) {
    size_t n = strlen(k.word);
    if (strncmp(buf, k.word, n) != 0) continue;
    const char* value = buf + n;
    if (*value == ' ') value++;
    k.apply(value);
    return;
  }
}

void parsedefaulttext(const char* text) {
  while (*text) {
    const char* end = strchr(text, '\n');
    size_t n = end ? (size_t)(end - text) : strlen(text);
    char buf[PREFLINESIZE];
    if (n > PREFLINESIZE - 1) n = PREFLINESIZE - 1;
    memcpy(buf, text, n);
    buf[n] = '\0';
    parsedefaultline(buf);
    if (!end) break;
    text = end + 1;
  }
}

int parsedefaultpath(const char* path) {
  strcpy(browsername, DEFAULTBROWSER);
  const char* why;
  FILE* f = openregular(path, &why);
  if (!f) {
    // Only a missing file is created; one that exists but cannot be read
    // (a folder, a FIFO that would block the start) is left alone.
    if (errno != ENOENT || access(path, F_OK) == 0) return 0;
    f = fopen(path, "w");
    if (!f) return 0;
    fclose(f);
    return 1;
  }
  char buf[PREFLINESIZE];
  while (readprefline(f, buf)) parsedefaultline(buf);
  fclose(f);
  return 1;
}

int parsedefaultfile() {
  return parsedefaultpath(defaultfilename());
}

int openwritedefaultpath(const char* path) {
  int ok = beginsave(&prefsave, path);
  defaultfile = prefsave.f;
  return ok;
}

int openwritedefaultfile() {
  return openwritedefaultpath(defaultfilename());
}

void dumpdefaults() {
  if (!defaultfile) return;
  if (WIDTH < MINSIZE) WIDTH = MINSIZE;
  if (HEIGHT < MINSIZE) HEIGHT = MINSIZE;
  if (WIDTH != autowidth || HEIGHT != autoheight)
    fprintf(defaultfile, "size %d %d\n", WIDTH, HEIGHT);
  if (browsername[0]) writetext("browser", browsername);
  if (printcmdstring[0]) writetext("printcmd", printcmdstring);
  writeflag(bigfont, "bigfont");
  writeflag(fontnumber == 4, "displayfont COURIER");
  writeflag(fontnumber == 8, "displayfont TIMES");
  writeflag(fontstyle == 1, "fontstyle BOLD");
  writeflag(fontstyle == 2, "fontstyle ITALIC");
  writeflag(fontstyle == 3, "fontstyle BOLDITALIC");
  if (fontsize != 16) fprintf(defaultfile, "fontsize %d\n", fontsize);
  if (edittextsize != 12)
    fprintf(defaultfile, "edittextsize %d\n", edittextsize);
  if (gvertexsize != 8) fprintf(defaultfile, "vertexsize %d\n", gvertexsize);
  writeflag(printbw, "printbw");
  writeflag(!rgbmode, "indexmode");
  writeflag(!showthetips, "notips");
  writeflag(!addvertexnames, "nonames");
  writeflag(showthelayers, "layershow");
  writeflag(!showinfomsg, "nomsginfo");
  writeflag(!keepcontinuous, "nocontinuity");
  writeflag(!smoothdrawing, "nosmooth");
  // Kept so that saving the options does not drop the user's choice.
  writeflag(singlebuffer, "singlebuffer");
  if (lastfolder[0]) writetext("lastfolder", lastfolder);
  if (scalechoice) fprintf(defaultfile, "scale %d\n", scalechoice);
  writerecentlines(defaultfile);
}

int closedefaultfile() {
  if (!defaultfile) return 0;
  defaultfile = nullptr;
  return endsave(&prefsave);
}

int savedefaultspath(const char* path) {
  int ok = openwritedefaultpath(path);
  if (ok) {
    dumpdefaults();
    ok = closedefaultfile();
  }
  if (!ok) alert("Can't open defaults file");
  return ok;
}

int savedefaults() {
  return savedefaultspath(defaultfilename());
}

int keepprefslines(const char* path, const char* word, std::string* kept) {
  kept->clear();
  const char* why;
  FILE* f = openregular(path, &why);
  if (!f) return errno == ENOENT && access(path, F_OK) != 0;
  std::string line;
  int c;
  while ((c = getc(f)) != EOF) {
    line += (char)c;
    if (c != '\n') continue;
    if (line.compare(0, strlen(word), word) != 0) *kept += line;
    line.clear();
  }
  if (!line.empty() && line.compare(0, strlen(word), word) != 0)
    *kept += line + "\n";
  int ok = !ferror(f);
  fclose(f);
  return ok;
}

int savelastfolder(const char* folder, const char* path) {
  const char LASTFOLDER[] = "lastfolder ";
  if (strlen(folder) + sizeof LASTFOLDER > PREFLINESIZE) return 0;
  copyvalue(lastfolder, PREFLINESIZE, folder);
  if (!path) path = defaultfilename();
  // The other lines are copied as they are: settings changed in this run
  // but not saved through the options stay unsaved.
  std::string text;
  if (!keepprefslines(path, LASTFOLDER, &text)) return 0;
  text += LASTFOLDER + std::string(lastfolder) + "\n";
  safesave s;
  if (!beginsave(&s, path)) return 0;
  fputs(text.c_str(), s.f);
  return endsave(&s);
}

void resetprefs() {
  abandonsave(&prefsave);
  defaultfile = nullptr;
  strcpy(browsername, DEFAULTBROWSER);
  printcmdstring[0] = '\0';
  WIDTH = 400;
  HEIGHT = 450;
  bigfont = 0;
  singlebuffer = 0;
  showthetips = 1;
  showinfomsg = 1;
  showthelayers = 0;
  edittextsize = 12;
  keepcontinuous = 1;
  smoothdrawing = 1;
  lastfolder[0] = '\0';
  scalechoice = 0;
  sizegiven = 0;
  autowidth = 400;
  autoheight = 450;
  resetrecent();
}
