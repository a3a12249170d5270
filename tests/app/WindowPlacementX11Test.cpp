// The window's placement on a real X server (run under Xvfb), with or without a framing window
// manager: the program is started as a user starts it, moved and resized from outside, closed
// through WM_DELETE_WINDOW, and its settings file and outer frame are compared run after run.
//
// usage: window_placement_x11_test PROGRAM [--wm COMMAND]
//   PROGRAM  the built window program; it is copied into a fresh folder for each test, so that
//            its settings file lies beside it.
//   --wm     starts COMMAND (for instance openbox) as the window manager first.

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <initializer_list>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string gProgram;
std::string gWindowManager;
Display* gDisplay = nullptr;

struct TRect {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

std::ostream& operator<<(std::ostream& out, const TRect& r) {
  return out << r.left << ", " << r.top << ", " << r.width << " x " << r.height;
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string SettingsText(const TRect& r, int panel) {
  std::string s;
  for (int v : {r.left, r.top, r.width, r.height, panel}) s += std::to_string(v) + "\r\n";
  return s;
}

// scale: Qt's display scale factor ("1.5"), or empty for none.
pid_t Spawn(const std::vector<std::string>& args, const std::string& scale = {}) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    if (!scale.empty()) setenv("QT_SCALE_FACTOR", scale.c_str(), 1);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

// Waits for the process to end; kills it after the time-out. Its exit status, or -1.
int WaitForExit(pid_t pid, int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < end) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    Sleep(10);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

// The first 32-bit value of a window's property of the given type.
std::optional<long> Property(Window w, const char* name, Atom wanted = XA_CARDINAL) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom atom = XInternAtom(gDisplay, name, False);
  if (XGetWindowProperty(gDisplay, w, atom, 0, 1, False, wanted, &type, &format, &count, &after,
                         &data) != Success)
    return std::nullopt;
  std::optional<long> value;
  if (data && count == 1 && format == 32) value = *reinterpret_cast<long*>(data);
  if (data) XFree(data);
  return value;
}

// The viewable top-level window of the process, searched two levels below the root (a
// reparenting window manager puts the program's window inside its frame).
Window FindProgramWindow(pid_t pid) {
  const Window root = DefaultRootWindow(gDisplay);
  std::vector<Window> candidates;
  Window rootReturn, parent, *children = nullptr;
  unsigned int n = 0;
  if (XQueryTree(gDisplay, root, &rootReturn, &parent, &children, &n)) {
    for (unsigned int i = 0; i < n; ++i) {
      candidates.push_back(children[i]);
      Window* grand = nullptr;
      unsigned int m = 0;
      if (XQueryTree(gDisplay, children[i], &rootReturn, &parent, &grand, &m)) {
        for (unsigned int j = 0; j < m; ++j) candidates.push_back(grand[j]);
        if (grand) XFree(grand);
      }
    }
    if (children) XFree(children);
  }
  for (Window w : candidates) {
    if (Property(w, "_NET_WM_PID") != std::optional<long>(pid)) continue;
    XWindowAttributes a;
    if (!XGetWindowAttributes(gDisplay, w, &a) || a.map_state != IsViewable) continue;
    XTextProperty name;
    if (!XGetWMName(gDisplay, w, &name)) continue;
    const bool isForm =
        name.value && std::strstr(reinterpret_cast<char*>(name.value), "SXF") != nullptr;
    if (name.value) XFree(name.value);
    if (isForm) return w;
  }
  return None;
}

// The window's ancestor just below the root: the frame under a reparenting window manager,
// the window itself without one.
Window OuterWindow(Window w) {
  const Window root = DefaultRootWindow(gDisplay);
  for (;;) {
    Window rootReturn, parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(gDisplay, w, &rootReturn, &parent, &children, &n)) return w;
    if (children) XFree(children);
    if (parent == root || parent == None) return w;
    w = parent;
  }
}

TRect ScreenRect(Window w) {
  XWindowAttributes a;
  XGetWindowAttributes(gDisplay, w, &a);
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(gDisplay, w, DefaultRootWindow(gDisplay), 0, 0, &x, &y, &child);
  return {x - a.border_width, y - a.border_width, a.width + 2 * a.border_width,
          a.height + 2 * a.border_width};
}

// A running program and its window.
class TProgram {
 public:
  explicit TProgram(const fs::path& binary, const std::string& scale = {})
      : pid_(Spawn({binary.string()}, scale)) {}
  ~TProgram() {
    if (pid_ > 0) WaitForExit(pid_, 0);
  }

  // Waits until the window is viewable and its frame has kept its rectangle for a while.
  bool WaitUntilSettled() {
    const auto end = Clock::now() + std::chrono::seconds(20);
    std::optional<TRect> last;
    auto since = Clock::now();
    while (Clock::now() < end) {
      XSync(gDisplay, False);
      if (window_ == None) window_ = FindProgramWindow(pid_);
      if (window_ != None) {
        const TRect now = Frame();
        if (!last || !(*last == now)) {
          last = now;
          since = Clock::now();
        } else if (Clock::now() - since > std::chrono::milliseconds(400)) {
          return true;
        }
      }
      Sleep(20);
    }
    return false;
  }

  TRect Frame() const { return ScreenRect(OuterWindow(window_)); }
  TRect Client() const { return ScreenRect(window_); }

  // Asks for new client geometry the way a pager or script does; the window manager decides.
  void MoveResizeClient(int x, int y, int w, int h) {
    XMoveResizeWindow(gDisplay, window_, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
    XSync(gDisplay, False);
  }
  void ResizeClient(int w, int h) {
    XResizeWindow(gDisplay, window_, static_cast<unsigned>(w), static_cast<unsigned>(h));
    XSync(gDisplay, False);
  }

  // The maximise button's request: _NET_WM_STATE add both maximised states.
  void RequestMaximise() {
    const auto atom = [](const char* name) {
      return static_cast<long>(XInternAtom(gDisplay, name, False));
    };
    // add both states; a normal application asks
    SendClientMessage(
        "_NET_WM_STATE", DefaultRootWindow(gDisplay),
        SubstructureRedirectMask | SubstructureNotifyMask,
        {1, atom("_NET_WM_STATE_MAXIMIZED_VERT"), atom("_NET_WM_STATE_MAXIMIZED_HORZ"), 1});
  }

  // A 32-bit client message about this window, of the given type, sent to target.
  void SendClientMessage(const char* type, Window target, long mask,
                         std::initializer_list<long> data) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window_;
    e.xclient.message_type = XInternAtom(gDisplay, type, False);
    e.xclient.format = 32;
    int i = 0;
    for (const long d : data) e.xclient.data.l[i++] = d;
    XSendEvent(gDisplay, target, False, mask, &e);
    XSync(gDisplay, False);
  }

  // The close button's request: WM_DELETE_WINDOW in WM_PROTOCOLS. The exit status, or -1.
  int Close() {
    SendClientMessage(
        "WM_PROTOCOLS", window_, NoEventMask,
        {static_cast<long>(XInternAtom(gDisplay, "WM_DELETE_WINDOW", False)), CurrentTime});
    const int status = WaitForExit(pid_, 20000);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_;
  Window window_ = None;
};

class WindowPlacement : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("sxf-placement-" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    binary_ = dir_ / fs::path(gProgram).filename();
    fs::copy_file(gProgram, binary_);
    settings_ = binary_;
    settings_.replace_extension(".dat");
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }

  fs::path dir_, binary_, settings_;
};

TEST_F(WindowPlacement, FirstStartPutsTheFrameAtTheOriginWithItsTitleBarOnScreen) {
  TProgram p(binary_);
  ASSERT_TRUE(p.WaitUntilSettled());
  const TRect frame = p.Frame(), client = p.Client();
  EXPECT_EQ(frame, (TRect{0, 0, 475, 475}));
  EXPECT_GE(client.top, frame.top);  // the title bar, if any, is above the client and on screen
  ASSERT_EQ(p.Close(), 0);
  EXPECT_EQ(ReadFile(settings_), SettingsText(frame, 200));
}

TEST_F(WindowPlacement, MovedAndResizedFramesComeBackToThePixel) {
  TRect expected{0, 0, 475, 475};
  for (int cycle = 0; cycle < 20; ++cycle) {
    TProgram p(binary_);
    ASSERT_TRUE(p.WaitUntilSettled()) << "cycle " << cycle;
    ASSERT_EQ(p.Frame(), expected) << "cycle " << cycle;
    p.MoveResizeClient(40 + 13 * cycle, 30 + 7 * cycle, 500 + 17 * cycle, 300 + 11 * cycle);
    ASSERT_TRUE(p.WaitUntilSettled());
    expected = p.Frame();
    ASSERT_EQ(p.Close(), 0);
    ASSERT_EQ(ReadFile(settings_), SettingsText(expected, 200)) << "cycle " << cycle;
  }
  const std::string stored = ReadFile(settings_);
  for (int cycle = 0; cycle < 10; ++cycle) {
    TProgram p(binary_);
    ASSERT_TRUE(p.WaitUntilSettled());
    EXPECT_EQ(p.Frame(), expected) << "untouched cycle " << cycle;
    ASSERT_EQ(p.Close(), 0);
    ASSERT_EQ(ReadFile(settings_), stored) << "untouched cycle " << cycle;
  }
}

// On a screen scaled by 150 % or 200 % the frame's margins are the screen's pixels and the
// window's Qt's: a start and a close keep the stored rectangle to the pixel all the same.
TEST_F(WindowPlacement, StartsAndClosesOnAScaledScreenKeepThePlacement) {
  const std::string stored = SettingsText({100, 50, 601, 503}, 251);
  for (const char* scale : {"1.5", "2"}) {
    std::ofstream(settings_, std::ios::binary) << stored;
    for (int cycle = 0; cycle < 3; ++cycle) {
      TProgram p(binary_, scale);
      ASSERT_TRUE(p.WaitUntilSettled()) << scale;
      ASSERT_EQ(p.Close(), 0);
      EXPECT_EQ(ReadFile(settings_), stored) << "scale " << scale << ", cycle " << cycle;
    }
  }
}

// The form's border icons have no maximise: a maximise asked of the window manager (its button,
// a double click on the title) leaves the frame where and as large as it was.
TEST_F(WindowPlacement, AMaximiseRequestLeavesTheFrameAsItWas) {
  std::ofstream(settings_, std::ios::binary) << SettingsText({60, 50, 700, 500}, 200);
  TProgram p(binary_);
  ASSERT_TRUE(p.WaitUntilSettled());
  const TRect before = p.Frame();
  p.RequestMaximise();
  Sleep(300);
  ASSERT_TRUE(p.WaitUntilSettled());
  EXPECT_EQ(p.Frame(), before);
  ASSERT_EQ(p.Close(), 0);
  EXPECT_EQ(ReadFile(settings_), SettingsText(before, 200));
}

TEST_F(WindowPlacement, TheMinimumSizeHoldsForTheFrame) {
  std::ofstream(settings_, std::ios::binary) << SettingsText({60, 50, 700, 500}, 200);
  TProgram p(binary_);
  ASSERT_TRUE(p.WaitUntilSettled());
  p.ResizeClient(300, 100);
  ASSERT_TRUE(p.WaitUntilSettled());
  const TRect frame = p.Frame();
  EXPECT_EQ(frame.width, 475);
  EXPECT_EQ(frame.height, 200);
  ASSERT_EQ(p.Close(), 0);
  EXPECT_EQ(ReadFile(settings_), SettingsText(frame, 200));
}

TEST_F(WindowPlacement, HugeStoredSizesAreLimitedToTheScreen) {
  std::ofstream(settings_, std::ios::binary)
      << "99999999999\r\n-99999999999\r\n1000000\r\n1000000\r\n1000000\r\n";
  TProgram p(binary_);
  ASSERT_TRUE(p.WaitUntilSettled());
  const TRect frame = p.Frame();
  Screen* s = DefaultScreenOfDisplay(gDisplay);
  EXPECT_LE(frame.width, WidthOfScreen(s));
  EXPECT_LE(frame.height, HeightOfScreen(s));
  ASSERT_EQ(p.Close(), 0);
  std::istringstream stored(ReadFile(settings_));
  long values[5] = {};
  for (long& v : values) stored >> v;
  EXPECT_LE(values[2], WidthOfScreen(s));
  EXPECT_LE(values[3], HeightOfScreen(s));
  EXPECT_LT(values[4], values[2]);
}

TEST_F(WindowPlacement, AReadOnlyFolderStillSavesIntoAWritableSettingsFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  std::ofstream(settings_, std::ios::binary) << SettingsText({60, 50, 700, 500}, 200);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  TProgram p(binary_);
  ASSERT_TRUE(p.WaitUntilSettled());
  p.MoveResizeClient(80, 70, 640, 420);
  ASSERT_TRUE(p.WaitUntilSettled());
  const TRect frame = p.Frame();
  ASSERT_EQ(p.Close(), 0);
  EXPECT_EQ(ReadFile(settings_), SettingsText(frame, 200));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--wm" && i + 1 < argc) {
      gWindowManager = argv[++i];
    } else {
      gProgram = argv[i];
    }
  }
  if (gProgram.empty()) {
    std::fprintf(stderr, "usage: window_placement_x11_test PROGRAM [--wm COMMAND]\n");
    return 2;
  }
  gDisplay = XOpenDisplay(nullptr);
  if (!gDisplay) {
    std::fprintf(stderr, "no X display\n");
    return 77;
  }
  pid_t wm = -1;
  if (!gWindowManager.empty()) {
    wm = Spawn({gWindowManager});
    // Ready once it announces itself on the root window.
    const auto end = Clock::now() + std::chrono::seconds(10);
    const Window root = DefaultRootWindow(gDisplay);
    while (Clock::now() < end && !Property(root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW)) Sleep(50);
    if (!Property(root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW)) {
      std::fprintf(stderr, "the window manager did not start\n");
      kill(wm, SIGTERM);
      return 1;
    }
  }
  const int result = RUN_ALL_TESTS();
  if (wm > 0) {
    kill(wm, SIGTERM);
    WaitForExit(wm, 5000);
  }
  XCloseDisplay(gDisplay);
  return result;
}
