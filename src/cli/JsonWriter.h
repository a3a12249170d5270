#pragma once
// A small streaming JSON writer: commas and escaping are its business, layout is the
// caller's (Newline() between members where a reader wants lines).

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sxf {

// Receives the output a piece at a time, in order.
using TJsonSink = std::function<void(std::string_view)>;

class TJsonWriter {
 public:
  explicit TJsonWriter(std::string& out) : out_(out) {}
  // Writes into out, and hands out to sink and empties it whenever it holds chunkBytes or
  // more, so that a long output never sits in memory whole.
  TJsonWriter(std::string& out, TJsonSink sink, std::size_t chunkBytes)
      : out_(out), sink_(std::move(sink)), chunkBytes_(chunkBytes) {}
  // Hands what out holds to the sink (when there is one) and empties it.
  void Flush();

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
  TJsonSink sink_;
  std::size_t chunkBytes_ = 0;
  std::vector<bool> first_;  // per open container: nothing written into it yet
  bool afterKey_ = false;
  bool newline_ = false;
};

// The shortest round-trip text of a double, with ".0" added to whole numbers.
std::string FormatDouble(double value);

}  // namespace sxf
