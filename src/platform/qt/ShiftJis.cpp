#include "platform/qt/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "util/MyFunc.h"

namespace sxf {

namespace {
// The ICU name of code page 932 as Windows has it (NEC row 13, IBM extensions, ~ as U+FF5E).
constexpr const char* kCodePage932 = "windows-31j";

// Control bytes and DEL are one-byte characters that stand for themselves on the host's
// platform; ICU's table exchanges some of them (0x1A, 0x1C and 0x7F among others). None of
// them can be the second byte of a pair.
constexpr bool IsControlByte(char b) noexcept {
  return static_cast<unsigned char>(b) < 0x20 || b == '\x7F';
}

// A span without control bytes.
QString DecodeSpan(std::string_view bytes) {
  QStringDecoder decoder(kCodePage932, QStringDecoder::Flag::Stateless);
  QString out = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  // ICU marks bytes that form no character with U+001A and drops a lead byte at the very
  // end; both become U+FFFD, so that nothing is lost silently.
  out.replace(QChar(0x1A), QChar::ReplacementCharacter);
  std::size_t i = 0;
  while (i < bytes.size()) i += IsLeadByte(bytes[i]) ? 2 : 1;
  if (i > bytes.size()) out += QChar::ReplacementCharacter;
  return out;
}
}  // namespace

QString ShiftJisToQString(std::string_view bytes) {
  if (std::none_of(bytes.begin(), bytes.end(), IsControlByte)) return DecodeSpan(bytes);
  QString out;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (IsControlByte(bytes[i])) {
      out += DecodeSpan(bytes.substr(start, i - start));
      out += QChar(static_cast<unsigned char>(bytes[i]));
      start = ++i;
    } else {
      i += IsLeadByte(bytes[i]) && i + 1 < bytes.size() && !IsControlByte(bytes[i + 1]) ? 2 : 1;
    }
  }
  out += DecodeSpan(bytes.substr(start));
  return out;
}

const QString& ShiftJisCharToQString(std::string_view character) {
  // Text is written one character at a time: decode each code once. The bands of a drawing
  // ask from several threads: a code is decoded under the lock and never changes after.
  static std::vector<QString> cache(65536);
  static std::unique_ptr<std::atomic<bool>[]> known(new std::atomic<bool>[65536]());
  static std::mutex decoding;
  if (character.empty() || character.size() > 2) {
    thread_local QString scratch;
    scratch = ShiftJisToQString(character);
    return scratch;
  }
  std::size_t code = 0;
  for (const char b : character) code = code << 8 | static_cast<unsigned char>(b);
  // One byte gives 0..255; a pair starts with a lead byte, so its code is 0x8000 or more.
  if (!known[code].load(std::memory_order_acquire)) {
    const std::lock_guard<std::mutex> hold(decoding);
    if (!known[code].load(std::memory_order_relaxed)) {
      cache[code] = ShiftJisToQString(character);
      known[code].store(true, std::memory_order_release);
    }
  }
  return cache[code];
}

std::string ShiftJisToUtf8(std::string_view bytes) {
  return ShiftJisToQString(bytes).toStdString();
}

std::string QStringToShiftJis(const QString& text) {
  QStringEncoder encoder(kCodePage932, QStringEncoder::Flag::Stateless);
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace sxf
