// lexer.cpp: the tokenizer of the diagram language.
#include "language/lexer.h"

int linecount = 1;

void resetlanguage() { linecount = 1; }
