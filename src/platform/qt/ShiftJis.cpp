#include "platform/qt/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace sxf {

namespace {
// The ICU name of code page 932 as Windows has it (NEC row 13, IBM extensions, ~ as U+FF5E).
constexpr const char* kCodePage932 = "windows-31j";
}  // namespace

QString ShiftJisToQString(std::string_view bytes) {
  QStringDecoder decoder(kCodePage932, QStringDecoder::Flag::Stateless);
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
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
