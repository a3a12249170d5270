#pragma once
// A small streaming JSON writer: commas and escaping are its business, layout is the
// caller's (Newline() between members where a reader wants lines).

#include <string>
#include <string_view>
#include <vector>

namespace sxf {

class TJsonWriter {
 public:
  explicit TJsonWriter(std::string& out) : out_(out) {}

  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  void Key(std::string_view utf8);
  void String(std::string_view utf8);
  void Int(long long value);
  // Shortest text that reads back to the same double; null when not finite.
  void Double(double value);
  void Bool(bool value);
  void Null();
  // A line break before the next value or key (after its comma).
  void Newline() { newline_ = true; }

 private:
  void Open(char bracket);
  void Close(char bracket);
  void BeforeValue();
  void Quoted(std::string_view utf8);

  std::string& out_;
  std::vector<bool> first_;  // per open container: nothing written into it yet
  bool afterKey_ = false;
  bool newline_ = false;
};

// The shortest round-trip text of a double, with ".0" added to whole numbers.
std::string FormatDouble(double value);

}  // namespace sxf
