// report.h: the relations report as a list of entries, and its summary.
//
// An entry is what a reader takes in at once: one group under its heading,
// one right angle, one listed product line, or one harmonic or inverse
// statement. The full report writes every entry in the order of its
// sections; the summary writes the entries that follow neither from the
// construction nor from other entries, most remarkable first, in the same
// forms.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct primitive;

// Sections of the report, in the order it writes them.
enum relkind {
  RK_COLLINEAR,
  RK_CONCURRENT,
  RK_CONCYCLIC,
  RK_RIGHT,
  RK_EQUALANGLES,
  RK_COMPLEMENTARY,
  RK_SUPPLEMENTARY,
  RK_PARALLEL,
  RK_PERPENDICULAR,
  RK_EQUALSEGMENTS,
  RK_CIRCLES,
  RK_HARMONIC,
  RK_INVERSE,
  RK_EQUALAREA,
  RK_AREARATIO,
  RK_RATIO,
  RK_COUNT
};

// Why an entry is left out of the summary.
enum relfold {
  RF_NONE,        // in the summary
  RF_DEFINITION,  // true by the definitions of the records
  RF_IMPLIED,     // follows from the entry `impliedby`
  RF_REPEAT,      // a product that other entries already give
};

struct relentry {
  int kind;
  // Members: a group's items ascending (vertex, line, circle, segment,
  // angle or triangle indexes, as the section has them); a right angle's
  // angle; the segments or triangles of a product as written; the vertices
  // (and circle) of a harmonic or inverse statement as written.
  std::vector<int> items;
  std::string text;  // as the report writes it, without its heading
  double worst;      // worst miss over the frames tested (largest member)
  std::vector<const primitive*> objects;  // points, lines, circles named
  std::vector<std::string> ids;  // their identifiers: they outlive records
  int fold;                               // relfold
  int impliedby;            // the entry it follows from (RF_IMPLIED), else -1
  double score;             // how remarkable: higher first
  std::string summarytext;  // when the summary merged groups into it
};

struct relreport {
  std::string name;               // the report's own path, first line
  std::vector<relentry> entries;  // in the order of the full report
  std::vector<int> summary;       // entries of the summary, in order
  int rightheading;               // right angles were candidates at the start
};

// The report of the last test ended in the window, for the report window.
extern relreport lastreport;

const char* relheading(int kind);   // "Points on a line:" ...; null: none
const char* relkindname(int kind);  // "collinear" ...: for JSON

// Builds the entries from the alive candidates (the index tables must
// still be there) and releases the candidate lists.
void collectrelations(relreport* r);
// Chooses and orders the summary (summary.cpp); needs the index tables.
void summarize(relreport* r);

// A group's items in the report's form (four blanks, six to a line).
std::string itemstext(int kind, const std::vector<int>& items);

// The full report, exactly as relations.txt has it.
void writefull(FILE* out, const relreport& r);
// "Summary: %d of %d relations" and the summary's entries; the first line
// of each entry is stored in `lines` (0-based) when given.
std::string summarytext(const relreport& r, std::vector<int>* lines);
// Either as one JSON document.
void writejson(FILE* out, const relreport& r, int summaryonly);
