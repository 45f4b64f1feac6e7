// reportjson.cpp: the relations report, or its summary, as one JSON
// document, for programs that read what the finder found.
//
// {"file": ..., "form": "full" or "summary", "relations": N, "summarized":
// K, "entries": [...]}; an entry has its number in the full report, its
// kind and heading, its text as the report writes it, the objects it names
// (identifier and label), the worst miss of its equation over the frames
// tested, its place in the summary (or null), and when it is left out,
// why ("definition", "implied") and the entry it follows from.
#include <cmath>
#include <string>

#include "language/symtable.h"
#include "model/primitive.h"
#include "relations/report.h"

namespace {

void writestring(FILE* out, const char* s) {
  fputc('"', out);
  for (; s && *s; s++) {
    unsigned char c = (unsigned char)*s;
    if (c == '"' || c == '\\')
      fprintf(out, "\\%c", c);
    else if (c == '\n')
      fputs("\\n", out);
    else if (c < 0x20)
      fprintf(out, "\\u%04x", c);
    else
      fputc(c, out);
  }
  fputc('"', out);
}

void writeobject(FILE* out, const primitive* p) {
  fputs("{\"id\": ", out);
  writestring(out, p->symbol ? p->symbol->name : "");
  fputs(", \"label\": ", out);
  if (p->label)
    writestring(out, p->label);
  else
    fputs("null", out);
  fputs("}", out);
}

const char* foldname(int fold) {
  switch (fold) {
    case RF_DEFINITION: return "definition";
    case RF_IMPLIED: return "implied";
    case RF_REPEAT: return "repeat";
    default: return nullptr;
  }
}

void writeentry(FILE* out, const relreport& r, int e, int rank) {
  const relentry& x = r.entries[e];
  fprintf(out, "    {\"entry\": %d, \"kind\": ", e + 1);
  writestring(out, relkindname(x.kind));
  fputs(", \"heading\": ", out);
  if (relheading(x.kind))
    writestring(out, relheading(x.kind));
  else
    fputs("null", out);
  fputs(", \"text\": ", out);
  writestring(out, (x.summarytext.empty() ? x.text : x.summarytext).c_str());
  fputs(",\n     \"objects\": [", out);
  for (size_t i = 0; i < x.objects.size(); i++) {
    if (i) fputs(", ", out);
    writeobject(out, x.objects[i]);
  }
  fputs("],\n     \"worst\": ", out);
  if (std::isfinite(x.worst))
    fprintf(out, "%.3g", x.worst);
  else
    fputs("null", out);
  if (rank >= 0)
    fprintf(out, ", \"summary\": %d", rank + 1);
  else
    fputs(", \"summary\": null", out);
  fputs(", \"folded\": ", out);
  if (foldname(x.fold))
    writestring(out, foldname(x.fold));
  else
    fputs("null", out);
  if (x.impliedby >= 0)
    fprintf(out, ", \"impliedby\": %d}", x.impliedby + 1);
  else
    fputs(", \"impliedby\": null}", out);
}

}  // namespace

void writejson(FILE* out, const relreport& r, int summaryonly) {
  std::vector<int> rank(r.entries.size(), -1);
  for (size_t k = 0; k < r.summary.size(); k++) rank[r.summary[k]] = (int)k;
  fputs("{\"file\": ", out);
  writestring(out, r.name.c_str());
  fprintf(out,
          ", \"form\": \"%s\", \"relations\": %d, \"summarized\": %d,\n"
          " \"entries\": [\n",
          summaryonly ? "summary" : "full", (int)r.entries.size(),
          (int)r.summary.size());
  int n = summaryonly ? (int)r.summary.size() : (int)r.entries.size();
  for (int k = 0; k < n; k++) {
    int e = summaryonly ? r.summary[k] : k;
    writeentry(out, r, e, rank[e]);
    fputs(k + 1 < n ? ",\n" : "\n", out);
  }
  fputs(" ]}\n", out);
}
