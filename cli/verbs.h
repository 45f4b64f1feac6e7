// verbs.h: the verbs of tessarin-cli, one file each, listed in main.cpp.
//
// A verb gets the arguments after its name and returns the exit status:
// 0 success, 1 the diagram failed (reading, writing), 2 a usage error or an
// unreadable file. Alerts reach standard error one per line.
#pragma once

// check FILE: read and recompute, report every alert.
int verbcheck(int argc, char** argv);

// format FILE [-o OUT]: read, recompute and write the diagram text.
int verbformat(int argc, char** argv);

// eps FILE -o OUT [--size WxH] [--bw] [--show-invisible]: read, recompute
// and write the view as EPS for a drawing area of W x H pixels.
int verbeps(int argc, char** argv);

// relations FILE [--samples N] [--step S] [--seed K] [-o OUT]
// [--max-candidates N]: sample the diagram around the file's position and
// write the relations report.
int verbrelations(int argc, char** argv);

// describe FILE NAME: the sentence saying how NAME is defined.
int verbdescribe(int argc, char** argv);

// values FILE [--json] [--drag NAME X0,Y0 X1,Y1 --steps N] [--frames]:
// every record's computed values, after each drag step or script frame.
int verbvalues(int argc, char** argv);

// Starts the core for a verb: tables, state, alerts to standard error.
void startcore();

// Reads the diagram FILE into the empty core and recomputes it. Returns the
// verb's status: 0 read, 1 reading failed, 2 the file cannot be opened.
int loaddiagram(const char* path);

// Sets the view of a w x h drawing area, then loads the diagram as
// `loaddiagram` does and finds the lowest layer in force.
int loadinview(const char* path, int w, int h);

// Reads a drawing-area size "WxH", both sides from 1 to 100000 pixels.
// Returns 0 (and leaves w, h alone) when malformed, after saying so on
// standard error.
int parsesize(const char* s, int* w, int* h);

// Prints "usage: tessarin-cli VERBLINE" to standard error; returns 2.
int usage(const char* verbline);

// script FILE [-o PREFIX] [--size WxH] [--max-frames N] [--force]
// [--format F]: run the script and write every frame as PREFIX000.eps,
// PREFIX001.eps, ... (F: svg, pdf, png or eps); frames estimated at more
// than 1 GB in all are refused without --force.
int verbscript(int argc, char** argv);

// export FILE -o OUT [--size WxH] [--dpi N] [--bw] [--transparent]
// [--show-invisible] [--standalone]: read and recompute, then write the
// view in the format OUT's extension names (.svg .pdf .png .tex .tikz
// .eps).
int verbexport(int argc, char** argv);
