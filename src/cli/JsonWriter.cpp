#include "cli/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace sxf {

std::string FormatDouble(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".en") == std::string::npos) text += ".0";
  return text;
}

void TJsonWriter::Flush() {
  if (!sink_ || out_.empty()) return;
  sink_(out_);
  out_.clear();
}

void TJsonWriter::BeforeValue() {
  // Nothing written is looked at again, so any point between two values may end a chunk.
  if (sink_ && out_.size() >= chunkBytes_) Flush();
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ += ',';
    first_.back() = false;
  }
  if (newline_) {
    out_ += '\n';
    newline_ = false;
  }
}

void TJsonWriter::Open(char bracket) {
  BeforeValue();
  out_ += bracket;
  first_.push_back(true);
}

void TJsonWriter::Close(char bracket) {
  first_.pop_back();
  if (newline_) {
    out_ += '\n';
    newline_ = false;
  }
  out_ += bracket;
}

void TJsonWriter::Key(std::string_view utf8) {
  BeforeValue();
  Quoted(utf8);
  out_ += ':';
  afterKey_ = true;
}

void TJsonWriter::String(std::string_view utf8) {
  BeforeValue();
  Quoted(utf8);
}

void TJsonWriter::Quoted(std::string_view utf8) {
  out_ += '"';
  for (char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out_ += "\\\""; break;
      case '\\': out_ += "\\\\"; break;
      case '\n': out_ += "\\n"; break;
      case '\r': out_ += "\\r"; break;
      case '\t': out_ += "\\t"; break;
      default:
        if (c < 0x20) {
          char esc[8];
          std::snprintf(esc, sizeof esc, "\\u%04x", c);
          out_ += esc;
        } else {
          out_ += ch;
        }
    }
  }
  out_ += '"';
}

void TJsonWriter::Int(long long value) {
  BeforeValue();
  out_ += std::to_string(value);
}

void TJsonWriter::Double(double value) {
  BeforeValue();
  out_ += std::isfinite(value) ? FormatDouble(value) : std::string("null");
}

void TJsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
}

void TJsonWriter::Null() {
  BeforeValue();
  out_ += "null";
}

}  // namespace sxf
