// lexer.h: the tokenizer of the diagram language.
#pragma once

extern int linecount;  // current line of the text being read, from 1

// Puts every language global back to its start-up value.
void resetlanguage();
