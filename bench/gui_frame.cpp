// gui_frame.cpp: the program window's speed under a virtual display: a drag
// step and a wheel-zoom step on a 2,000-primitive diagram (recomputation
// plus a full redraw of an 800 x 800 drawing area), with smoothing off and
// on, start-up to the first drawn frame of a
// 1,000-primitive diagram, and the processor time of a program left alone
// on a diagram without blinking colours.
//
// Run it on a display of its own, for instance
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/gui_frame
// The start-up and idle measurements run in child processes that are
// forked before this process opens the display.
#include <FL/Fl.H>
#include <FL/gl.h>
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/geomwindow.h"
#include "app/startup.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "language/writer.h"
#include "model/notify.h"
#include "model/shell.h"
#include "model/worldlist.h"
#include "prefs/preffile.h"
#include "render/gldraw.h"
#include "render/palette.h"
#include "render/view.h"

namespace {

// A reproducible diagram of n primitives of mixed types. The view is cut
// into a grid of cells and each cell holds one small construction of
// twenty primitives of every kind, so the ink covers the view about as a
// busy drawing would. With `spread` the primitives refer to points all
// over the view instead: screen-wide strokes, a stress case.
struct builder {
  unsigned seed = 12345;
  std::vector<primitive*> pts, lines;
  double rnd() {
    seed = seed * 1103515245u + 12345u;
    return ((seed >> 8) & 0xffff) / 65535.0;
  }
  primitive* pick(const std::vector<primitive*>& from, size_t window) {
    size_t n = std::min(from.size(), window);
    return from[from.size() - 1 - (size_t)(rnd() * n * 0.999)];
  }
  primitive* make(int type, int kind, std::initializer_list<primitive*> ps,
                  int color) {
    primitive* p = newprimitive(type);
    p->kind = kind;
    int i = 0;
    for (primitive* q : ps) p->parents[i++] = q;
    p->color = color;
    genname(p);
    addprimitive(p);
    return p;
  }
  vertex* point(double x, double y, const char* label) {
    vertex* v = static_cast<vertex*>(newprimitive(RW_VERTEX));
    v->kind = FREE;
    v->x = x, v->y = y, v->w = 1;
    if (label) v->label = strdup(label);
    genname(v);
    addprimitive(v);
    return v;
  }
};

// One cell: five points near a circle of radius r about (cx, cy), then
// fifteen constructions on them.
void buildcell(builder& b, int cell, double cx, double cy, double r,
               int spread) {
  vertex* p[5];
  char label[16];
  for (int i = 0; i < 5; i++) {
    double t = i * 1.2566 + b.rnd() * 0.6;
    double rr = r * (0.8 + 0.2 * b.rnd());
    snprintf(label, sizeof label, "P%d", cell * 5 + i);
    p[i] = b.point(cx + rr * std::cos(t), cy + rr * std::sin(t),
                   i < 2 && !getenv("NOLABELS") ? label : nullptr);
    b.pts.push_back(p[i]);
  }
  auto pt = [&](int i) -> primitive* {
    return spread ? b.pick(b.pts, 1000) : p[i % 5];
  };
  line* l1 = static_cast<line*>(b.make(RW_LINE, L_VV, {pt(0), pt(1)}, 7));
  line* l2 = static_cast<line*>(b.make(RW_LINE, L_VV, {pt(1), pt(2)}, 7));
  line* l3 = static_cast<line*>(b.make(RW_LINE, L_VV, {pt(3), pt(4)}, 7));
  l3->linestyle = RW_DASHLINE;
  b.make(RW_CIRCLE, C_VV, {pt(0), pt(2)}, 1 + cell % 6);
  b.make(RW_CIRCLE, C_VV, {pt(3), pt(1)}, 1 + (cell + 3) % 6);
  vertex* m =
      static_cast<vertex*>(b.make(RW_VERTEX, V_VVMID, {pt(2), pt(3)}, 7));
  m->pointtype = RW_DOT;
  b.make(RW_VERTEX, V_LL, {l1, l3}, COLOR_RED);
  b.make(RW_CIRCLE, C_VVV, {pt(0), pt(1), pt(3)}, COLOR_CYAN);
  b.make(RW_LINE, L_VLPERP, {pt(4), l2}, COLOR_BLUE);
  polygon* poly = static_cast<polygon*>(
      b.make(RW_POLYGON, POLYGON, {pt(0), pt(2), pt(4)}, COLOR_GREEN));
  poly->nvert = 3;
  poly->polytype = RW_HASHPOLY;
  static_cast<angle*>(b.make(RW_ANGLE, A_VVV, {pt(1), pt(2), pt(3)}, 7))
      ->angletype = RW_RING2;
  b.make(RW_ARC, ARC_VVV, {pt(3), m, pt(4)}, COLOR_YELLOW);
  b.make(RW_CONIC, CONIC_VVVVV, {pt(0), pt(1), pt(2), pt(3), pt(4)},
         COLOR_MAGENTA);
  b.make(RW_BEZIER, BEZ_VVVV, {pt(4), pt(0), pt(1), pt(2)}, 9);
  if (cell % 5 == 0) {
    line* l = static_cast<line*>(b.make(RW_LINE, L_VV, {pt(0), pt(3)}, 8));
    l->linetype = RW_LONGLINE;
  } else {
    b.make(RW_FLT, F_VV, {pt(0), pt(3)}, 7);
  }
}

void builddiagram(int n, int spread) {
  builder b;
  int cells = (n + 19) / 20;
  int side = (int)std::ceil(std::sqrt((double)cells));
  double size = 1.9 / side;
  for (int c = 0; c < cells; c++) {
    double cx = -0.95 + size * (c % side + 0.5);
    double cy = -0.95 + size * (c / side + 0.5);
    buildcell(b, c, cx, cy, size * 0.4, spread);
  }
}

void quiet(const char*) {}

// Processor time in milliseconds on `clock`: the whole process's, every
// thread of the OpenGL rasteriser included (on a shared machine the wall
// clock also counts other people's work), or the drawing thread's alone.
double cpums(clockid_t clock) {
  timespec ts;
  clock_gettime(clock, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// A home directory of this run's own whose preferences ask for an 800 x 800
// drawing area and keep the user's own preferences out.
void privatehome() {
  static std::string home;
  if (home.empty()) {
    char dir[] = "/tmp/tessarin-benchhomeXXXXXX";
    if (!mkdtemp(dir)) return;
    home = dir;
    FILE* rc = fopen((home + "/.tessarinrc").c_str(), "w");
    if (rc) {
      fputs("size 800 800\nnotips\n", rc);
      fclose(rc);
    }
  }
  setenv("HOME", home.c_str(), 1);
}

// Start-up in this process as the program does it, with an 800 x 800
// drawing area and no user preferences.
int startwindow(const char* file) {
  privatehome();
  char name[] = "gui_frame";
  char* args[3] = {name, const_cast<char*>(file), nullptr};
  int status = startup(file ? 2 : 1, args);
  alerthook = quiet;
  askhook = nullptr;
  return status;
}

int alertcount;
void countalert(const char* text) {
  if (alertcount++ == 0) fprintf(stderr, "%s\n", text);
}

// Writes the diagram of n primitives to a file of its own, through the
// program's own writer.
std::string writediagram(int n) {
  char path[] = "/tmp/tessarin-benchXXXXXX.T";
  int fd = mkstemps(path, 2);
  if (fd < 0) return "";
  close(fd);
  inittables();
  initcolors();
  clearbuffer();
  builddiagram(n, 0);
  int ok = printall(path);
  clearbuffer();
  // The program would stop at the first error with a modal alert.
  alertfn saved = alerthook;
  alerthook = countalert;
  alertcount = 0;
  ok = ok && readgeometry(path) && alertcount == 0;
  alerthook = saved;
  clearbuffer();
  return ok ? path : "";
}

long long t0micros;
int resultpipe = -1;

void firstframe() {
  drawgeom();
  glFinish();
  long long dt = monotonicmicros() - t0micros;
  if (write(resultpipe, &dt, sizeof dt) != sizeof dt) _exit(3);
  _exit(0);
}

// Microseconds from the start of start-up to the end of the first frame,
// measured in a forked child.
long long startuponce(const std::string& file) {
  int fds[2];
  if (pipe(fds)) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    resultpipe = fds[1];
    t0micros = monotonicmicros();
    char name[] = "tessarin";
    char* args[3] = {name, const_cast<char*>(file.c_str()), nullptr};
    if (startup(2, args)) _exit(2);
    alerthook = quiet;
    geom_window->displayfunc = firstframe;
    Fl::run();
    _exit(4);
  }
  close(fds[1]);
  long long dt = -1;
  if (read(fds[0], &dt, sizeof dt) != sizeof dt) dt = -1;
  close(fds[0]);
  int st;
  waitpid(pid, &st, 0);
  return dt;
}

void BM_StartupToFirstFrame(benchmark::State& state) {
  privatehome();
  std::string file = writediagram((int)state.range(0));
  std::vector<double> ms;
  for (auto _ : state) {
    long long dt = startuponce(file);
    if (dt < 0) {
      state.SkipWithError("start-up failed");
      break;
    }
    ms.push_back(dt / 1000.0);
    state.SetIterationTime(dt / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  if (!ms.empty()) state.counters["median_ms"] = ms[ms.size() / 2];
  remove(file.c_str());
}
BENCHMARK(BM_StartupToFirstFrame)
    ->Arg(1000)
    ->Iterations(15)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Processor time of a program left alone for `seconds` on a diagram
// without blinking colours, as a percentage of one core.
double idlecpu(const std::string& file, double seconds) {
  pid_t pid = fork();
  if (pid == 0) {
    char name[] = "tessarin";
    char* args[3] = {name, const_cast<char*>(file.c_str()), nullptr};
    if (startup(2, args)) _exit(2);
    alerthook = quiet;
    Fl::run();
    _exit(0);
  }
  auto ticks = [pid]() {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
    FILE* f = fopen(path, "r");
    if (!f) return -1.0;
    char buf[1024];
    size_t n = fread(buf, 1, sizeof buf - 1, f);
    fclose(f);
    buf[n] = 0;
    const char* p = strrchr(buf, ')');
    unsigned long ut = 0, st = 0;
    if (!p ||
        sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu",
               &ut, &st) != 2)
      return -1.0;
    return (double)(ut + st) / sysconf(_SC_CLK_TCK);
  };
  usleep(2000000);  // start-up and the first frames are not idle time
  double c0 = ticks();
  long long w0 = monotonicmicros();
  usleep((useconds_t)(seconds * 1e6));
  double c1 = ticks();
  long long w1 = monotonicmicros();
  kill(pid, SIGKILL);
  int st;
  waitpid(pid, &st, 0);
  if (c0 < 0 || c1 < 0) return -1;
  return 100.0 * (c1 - c0) / ((w1 - w0) / 1e6);
}

void BM_IdleProcessorTime(benchmark::State& state) {
  privatehome();
  std::string file = writediagram((int)state.range(0));
  for (auto _ : state) {
    double pct = idlecpu(file, 10);
    if (pct < 0) {
      state.SkipWithError("no measurement");
      break;
    }
    state.counters["cpu_percent"] = pct;
    state.SetIterationTime(10);
  }
  remove(file.c_str());
}
BENCHMARK(BM_IdleProcessorTime)
    ->Arg(100)
    ->Arg(1000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Opens the program window once, then builds the benchmark diagram of n
// primitives in it with smoothing on or off; 0 without a display.
int preparewindow(benchmark::State& state, int n, int spread, int smooth) {
  static int started = 0;
  if (!started) {
    if (startwindow(nullptr)) {
      state.SkipWithError("no display");
      return 0;
    }
    for (int i = 0; i < 50; i++) Fl::wait(0.01);
    started = 1;
  }
  clearbuffer();
  builddiagram(n, spread);
  smoothdrawing = smooth;
  geom_window->make_current();
  drawgeom();
  return 1;
}

// Writes the frame as a PPM image when BENCHSHOT names a file.
void benchshot() {
  if (!getenv("BENCHSHOT")) return;
  drawgeom();
  glFinish();
  std::vector<unsigned char> px(3 * xsize * ysize);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, xsize, ysize, GL_RGB, GL_UNSIGNED_BYTE, px.data());
  FILE* out = fopen(getenv("BENCHSHOT"), "wb");
  if (!out) return;
  fprintf(out, "P6\n%d %d\n255\n", xsize, ysize);
  for (int y = ysize - 1; y >= 0; y--)
    fwrite(&px[3 * y * xsize], 3, xsize, out);
  fclose(out);
}

// Times `step` followed by the frame it asks for up to the swap of the
// buffers, and reports the medians.
template <typename F>
void timesteps(benchmark::State& state, F step) {
  int count = 0;
  for (primitive* p = plist; p; p = p->next) count++;
  std::vector<double> ms, cpu, main, event;
  int n = 0;
  long still0 = stillframes;
  for (auto _ : state) {
    long long t0 = monotonicmicros();
    double c0 = cpums(CLOCK_PROCESS_CPUTIME_ID),
           m0 = cpums(CLOCK_THREAD_CPUTIME_ID);
    step(n++);
    event.push_back((monotonicmicros() - t0) / 1000.0);
    drawgeom();
    geom_window->swap_buffers();
    glFinish();
    long long dt = monotonicmicros() - t0;
    ms.push_back(dt / 1000.0);
    cpu.push_back(cpums(CLOCK_PROCESS_CPUTIME_ID) - c0);
    main.push_back(cpums(CLOCK_THREAD_CPUTIME_ID) - m0);
    state.SetIterationTime(dt / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  std::sort(cpu.begin(), cpu.end());
  std::sort(main.begin(), main.end());
  std::sort(event.begin(), event.end());
  if (!cpu.empty()) {
    state.counters["median_cpu_ms"] = cpu[cpu.size() / 2];
    state.counters["median_main_ms"] = main[main.size() / 2];
    // The event's own handling, before the frame is drawn.
    state.counters["median_event_ms"] = event[event.size() / 2];
    state.counters["min_ms"] = ms.front();
  }
  state.counters["primitives"] = count;
  // Steps shown from the images of what a drag leaves still.
  state.counters["still_frames"] = (double)(stillframes - still0);
  state.counters["drawing_area"] = xsize * 10000 + ysize;
  if (!ms.empty()) {
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p90_ms"] = ms[ms.size() * 9 / 10];
  }
}

// One event delivered to the drawing area as the toolkit delivers it, at
// window pixel (x, y) with the left button held or not.
void sendevent(int event, int x, int y, int dy, int held) {
  Fl::e_x = x;
  Fl::e_y = y;
  Fl::e_dx = 0;
  Fl::e_dy = dy;
  Fl::e_state = held ? FL_BUTTON1 : 0;
  geom_window->handle(event);
}

// A drag step: one motion event of the selected point through the drawing
// area, then the frame (recomputation and full redraw) up to the swap of
// the buffers. Arguments: primitives, spread over the view, smoothing.
void BM_DragStep(benchmark::State& state) {
  if (!preparewindow(state, (int)state.range(0), (int)state.range(1),
                     (int)state.range(2)))
    return;
  vertex* v = nullptr;
  for (primitive* p = plist; p && !v; p = p->next)
    if (p->type == RW_VERTEX && p->kind == FREE) v = static_cast<vertex*>(p);
  selectprim(v);
  benchshot();
  timesteps(state, [](int step) {
    double a = step * 0.05;
    sendevent(FL_DRAG, xsize / 2 + (int)(150 * std::cos(a)),
              ysize / 2 + (int)(150 * std::sin(a)), 0, 1);
  });
}
BENCHMARK(BM_DragStep)
    ->Args({2000, 0, 0})
    ->Args({2000, 0, 1})
    ->Args({2000, 1, 0})
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A wheel-zoom step: one wheel click through the drawing area, then the
// frame. The clicks come as from a wheel being turned, so they stay one
// pending change, which the history takes in once the wheel rests. Clicks
// alternate in and out about a point off the centre, so the diagram keeps
// its size. Arguments: primitives, smoothing.
void BM_WheelZoomStep(benchmark::State& state) {
  if (!preparewindow(state, (int)state.range(0), 0, (int)state.range(1)))
    return;
  selectprim(nullptr);
  timesteps(state, [](int step) {
    sendevent(FL_MOUSEWHEEL, xsize / 2 + 90, ysize / 2 - 60, step % 2 ? 1 : -1,
              0);
  });
}
BENCHMARK(BM_WheelZoomStep)
    ->Args({2000, 0})
    ->Args({2000, 1})
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
