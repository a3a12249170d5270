// The report's standard output in binary mode on Windows, so that its JSON and CSV end
// their lines in LF, byte for byte as on Linux (text mode would write CR LF).

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace sxf {
namespace {

struct TBinaryStdout {
  TBinaryStdout() noexcept { _setmode(_fileno(stdout), _O_BINARY); }
};
const TBinaryStdout kBinaryStdout;

}  // namespace
}  // namespace sxf
