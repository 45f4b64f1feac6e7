// describe.h: one sentence saying how a primitive is defined.
#pragma once

#include "model/primitive.h"

// Writes into buf (size bytes, always terminated) the sentence describing
// how p is built and from which primitives: its name, then the definition
// with the names of its first five parents. Kinds without a definition to
// tell get "<name>: no description".
void describeprimitive(const primitive* p, char* buf, int size);

// The name a description uses: "\"label\"" or "(identifier)"; an anonymous
// number is written as its value.
void describename(const primitive* p, char* buf, int size);
