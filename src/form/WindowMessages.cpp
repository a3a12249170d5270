#include "form/WindowMessages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "util/MyFunc.h"

namespace sxf {

namespace {

constexpr const char* kFileName = "JWC_TEMP.TXT";

// The reason in Japanese; the reader's own words (the C library's) in English.
std::string ReasonOf(const TJwcLoadResult& load, bool japanese) {
  if (!japanese) return DescribeJwcLoadProblem(load);
  switch (load.Problem) {
    case TJwcLoadProblem::NotRegularFile:
      return "\x92\xCA\x8F\xED\x82\xCC\x83t\x83@\x83"
             "C\x83\x8B\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1 "
             "(\x83t\x83H\x83\x8B\x83_\x82\xC8\x82\xC7)";  // 通常のファイルではありません
                                                           // (フォルダなど)
    case TJwcLoadProblem::TooLarge:
      return "\x91\xE5\x82\xAB\x82\xB7\x82\xAC\x82\xDC\x82\xB7 (1024 MiB \x82\xDC\x82\xC5)";  // 大きすぎます
                                                                                              // (1024
                                                                                              // MiB
                                                                                              // まで)
    case TJwcLoadProblem::OutOfMemory:
      return "\x83\x81\x83\x82\x83\x8A\x82\xAA\x91\xAB\x82\xE8\x82\xDC\x82\xB9\x82\xF1";  // メモリが足りません
    case TJwcLoadProblem::CannotOpen:
    case TJwcLoadProblem::ReadError: {
      std::string why = load.Error == EACCES
                            ? "\x83"
                              "A\x83N\x83Z\x83X\x82\xAA\x8B\x91\x94\xDB\x82\xB3\x82\xEA"
                              "\x82\xDC\x82\xB5\x82\xBD"  // アクセスが拒否されました
                            : "\x93\xC7\x82\xDD\x8E\xE6\x82\xE8\x83G\x83\x89\x81[ "
                              "(errno " +  // 読み取りエラー
                                  std::to_string(load.Error) +
                                  ")";
      if (load.Problem == TJwcLoadProblem::ReadError)
        why +=
            ", " + std::to_string(load.BytesRead) +
            " \x83o\x83"
            "C\x83g\x96\xDA\x82\xC5\x8E~\x82\xDC\x82\xE8\x82\xDC\x82\xB5\x82\xBD";  //  バイト目で止まりました
      return why;
    }
    case TJwcLoadProblem::None:
    case TJwcLoadProblem::Missing: break;
  }
  return DescribeJwcLoadProblem(load);
}

}  // namespace

TReadNotice DescribeRead(const TJwcLoadResult& load, int entityCount, int userTypeCount,
                         bool japanese, const std::string& folder) {
  const std::string name = kFileName;
  if (!load.Exists || load.Problem == TJwcLoadProblem::Missing) {
    std::string text =
        japanese ? name + " \x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1"  // がありません
                 : name + " is missing";
    if (!folder.empty())
      text += japanese ? "\x81i\x83t\x83H\x83\x8B\x83_ " + folder + "\x81j"  // （フォルダ ...）
                       : " (looked in " + folder + ")";
    return {TReadOutcome::Missing, text, true};
  }
  if (load.NotText)
    return {
        TReadOutcome::NotText,
        japanese
            ? name +
                  " \x82\xCD\x83"
                  "e\x83L\x83X\x83g\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81i"
                  "\x8AO\x95\x94\x95\xCF\x8C`\x82\xCC\x8C\xF0\x8A\xB7\x83t\x83@\x83"
                  "C\x83\x8B\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81j"
            // はテキストではありません（外部変形の交換ファイルではありません）
            : name + " is not text: it is not an interchange file",
        true};
  if (load.Problem != TJwcLoadProblem::None || !load.ReadToEnd)
    return {
        TReadOutcome::Unreadable,
        (japanese ? name + " \x82\xF0\x93\xC7\x82\xDF\x82\xDC\x82\xB9\x82\xF1: "  // を読めません:
                  : "Cannot read " + name + ": ") +
            ReasonOf(load, japanese),
        true};
  if (entityCount <= 0)
    return {TReadOutcome::NoEntity,
            japanese
                ? name +
                      " \x82\xC9\x90}\x8C`\x82\xAA 1 "
                      "\x82\xC2\x82\xE0\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1"  // に図形が 1
                                                                                  // つもありません
                : name + " holds no entity at all",
            true};
  if (userTypeCount <= 0)
    return {
        TReadOutcome::NoUserTypes,
        japanese
            ? "\x83\x86\x81[\x83U\x81[\x90\xFC\x8E\xED\x82\xCC\x90}\x8C`"
              "\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1"  // ユーザー線種の図形はありません
            : "No entity is drawn with a user line type",
        false};
  return {};
}

TReadNotice DescribeDrawingFileRead(bool readToEnd, const std::string& problem,
                                    const std::string& name, int entityCount, int userTypeCount,
                                    bool japanese) {
  if (!readToEnd)
    return {
        TReadOutcome::Unreadable,
        (japanese ? name + " \x82\xF0\x93\xC7\x82\xDF\x82\xDC\x82\xB9\x82\xF1: "  // を読めません:
                  : "Cannot read " + name + ": ") +
            problem,
        true};
  TJwcLoadResult whole;
  whole.Exists = whole.ReadToEnd = true;
  TReadNotice notice = DescribeRead(whole, entityCount, userTypeCount, japanese, {});
  // The interchange file's name in those messages is this file's.
  if (const std::size_t at = notice.Text.find(kFileName); at != std::string::npos)
    notice.Text.replace(at, std::string_view(kFileName).size(), name);
  return notice;
}

std::string InsideBlocksText(long long count, bool japanese) {
  return japanese
             ? "\x83u\x83\x8D\x83"
               "b\x83N\x93\xE0\x82\xCC\x83\x86\x81[\x83U\x81[\x90\xFC\x8E\xED: " +  // ブロック内のユーザー線種:
                   std::to_string(count) +
                   " \x8C\xC2"  // 個
             : "User line types inside blocks: " + std::to_string(count);
}

std::string SavedDrawingOfferText(const std::string& name, bool japanese) {
  return japanese
             ? "F5: \x95\xDB\x91\xB6\x8D\xCF\x82\xDD\x82\xCC " + name +  // F5: 保存済みの
                   " \x82\xF0\x83u\x83\x8D\x83"
                   "b\x83N\x82\xCC\x92\x86\x82\xDC\x82\xC5\x8C\x9F\x8D\xF5\x81i"
                   "\x8D\xC5\x8C\xE3\x82\xC9\x95\xDB\x91\xB6\x82\xB5\x82\xBD\x93\xE0\x97"
                   "e\x82\xC5\x81"
                   "A"
                   "\x96\xA2\x95\xDB\x91\xB6\x82\xCC\x95\xCF\x8DX\x82\xCD\x8A\xDC\x82\xDD\x82\xDC"
                   "\x82\xB9\x82\xF1\x81j"  // をブロックの中まで検索（最後に保存した内容で、未保存の変更は含みません）
             : "F5: search the saved " + name +
                   ", blocks included (as last saved: edits not saved yet are not in it)";
}

std::string NothingToWalkText(bool japanese) {
  return japanese
             ? "\x82\xB1\x82\xCC\x97\x93\x82\xC9\x82\xBD\x82\xC7\x82\xE9\x90}\x8C`"
               "\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1"  // この欄にたどる図形はありません
             : "No marked entity in this cell";
}

std::string DrawingStoppedText(bool japanese) {
  // Home fits the whole drawing: the stopped view itself is not drawn again.
  return japanese
             ? "\x95`\x89\xE6\x82\xF0\x92\x86\x92"
               "f\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81iHome "
               "\x82\xC5\x91S\x91\xCC\x82\xF0\x95`\x82\xAB\x92\xBC\x82\xB5\x82\xDC\x82\xB7\x81j"
             // 描画を中断しました（Home で全体を描き直します）
             : "Drawing stopped (Home redraws the whole drawing)";
}

std::string KeyHelpLine(int index, bool japanese) {
  static const char* const kJapanese[kKeyHelpLineCount] = {
      "\x83z\x83"
      "C\x81[\x83\x8B: \x83J\x81[\x83\x5C\x83\x8B\x82\xCC\x88\xCA\x92u\x82\xC5\x8Ag\x91\xE5\x81"
      "E\x8Fk\x8F\xAC  PageUp / PageDown: \x92\x86\x89\x9B\x82\xC5\x8Ag\x91\xE5\x81"
      "E\x8Fk\x8F\xAC",  // ホイール: カーソルの位置で拡大・縮小  PageUp / PageDown:
                         // 中央で拡大・縮小
      "Home: \x91S\x91\xCC\x95\x5C\x8E\xA6  Insert / End: "
      "\x90}\x8C`\x82\xCC\x94\xCD\x88\xCD\x82\xF0\x92\x86\x89\x9B\x82\xC9  \x96\xEE\x88\xF3: "
      "\x88\xDA\x93\xAE (Shift \x82\xC5\x8F\xAC\x82\xB3\x82\xAD)",  // Home: 全体表示  Insert / End:
                                                                    // 図形の範囲を中央に  矢印:
                                                                    // 移動 (Shift で小さく)
      "\x92\x86\x83{\x83^\x83\x93\x82\xCC\x83h\x83\x89\x83"
      "b\x83O: \x8AG\x82\xF0\x93\xAE\x82\xA9\x82\xB7  "
      "\x97\xBC\x83{\x83^\x83\x93\x82\xCC\x83N\x83\x8A\x83"
      "b\x83N: \x82\xBB\x82\xB1\x82\xF0\x92\x86\x89\x9B\x82\xC9",  // 中ボタンのドラッグ: 絵を動かす
                                                                   // 両ボタンのクリック:
                                                                   // そこを中央に
      "\x97\xBC\x83{\x83^\x83\x93\x82\xCC\x83h\x83\x89\x83"
      "b\x83O  \x89"
      "E\x89\xBA: \x98g\x82\xF0\x8Ag\x91\xE5  \x8D\xB6\x8F\xE3: \x8Fk\x8F\xAC  \x89"
      "E\x8F\xE3: \x91S\x91\xCC  \x8D\xB6\x89\xBA: \x91O\x82\xCC\x95\x5C\x8E\xA6",  // 両ボタンのドラッグ
                                                                                    // 右下:
                                                                                    // 枠を拡大
                                                                                    // 左上: 縮小
                                                                                    // 右上: 全体
                                                                                    // 左下:
                                                                                    // 前の表示
      "F3 / Shift+F3: \x8E\x9F / \x91O\x82\xCC\x83}\x81[\x83N  "
      "\x95\x5C\x82\xCC\x83_\x83u\x83\x8B\x83N\x83\x8A\x83"
      "b\x83N: \x82\xBB\x82\xCC\x8Ds\x81"
      "E\x97\xF1\x81"
      "E\x8D\x87\x8Cv\x82\xCC\x90}\x8C`\x82\xF0\x8F\x87\x82\xC9\x8C\xA9\x82\xE9",  // F3 / Shift+F3:
                                                                                   // 次 /
                                                                                   // 前のマーク
                                                                                   // 表のダブルクリック:
                                                                                   // その行・列・合計の図形を順に見る
      "Ctrl+C: \x95\x5C\x82\xF0\x83R\x83s\x81[  Ctrl+Shift+C: "
      "\x83}\x81[\x83N\x82\xCC\x88\xEA\x97\x97\x82\xF0\x83R\x83s\x81[  Ctrl+S: "
      "\x89\xE6\x91\x9C\x82\xC6\x95\x5C\x82\xF0\x95\xDB\x91\xB6",  // Ctrl+C: 表をコピー
                                                                   // Ctrl+Shift+C:
                                                                   // マークの一覧をコピー  Ctrl+S:
                                                                   // 画像と表を保存
      "Esc \x82\xF0\x89\x9F\x82\xB5\x91\xB1\x82\xAF\x82\xE9: "
      "\x95`\x89\xE6\x82\xF0\x8E~\x82\xDF\x82\xE9  F1: \x8E\x9F\x82\xCC\x90\xE0\x96\xBE",  // Esc
                                                                                           // を押し続ける:
                                                                                           // 描画を止める
                                                                                           // F1:
                                                                                           // 次の説明
      "Ctrl+O: \x90}\x96\xCA\x83t\x83@\x83"
      "C\x83\x8B\x82\xF0\x8AJ\x82\xAD  F5: "
      "\x95\xDB\x91\xB6\x8D\xCF\x82\xDD\x82\xCC\x90}\x96\xCA\x82\xF0\x83u\x83\x8D\x83"
      "b\x83N\x82\xCC\x92\x86\x82\xDC\x82\xC5\x8C\x9F\x8D\xF5\x81i\x88\xC4\x93\xE0\x82\xAA\x8Fo\x82"
      "\xBD\x82\xC6\x82\xAB\x81j",  // Ctrl+O: 図面ファイルを開く  F5:
                                    // 保存済みの図面をブロックの中まで検索（案内が出たとき）
      "\x89"
      "E\x82\xCC\x83p\x83l\x83\x8B\x82\xCD\x8D\xB6\x82\xCC\x8B\xAB\x8A"
      "E\x82\xF0\x83h\x83\x89\x83"
      "b\x83O\x82\xB7\x82\xE9\x82\xC6\x8DL\x82\xAA\x82\xE8\x82\xDC\x82\xB7\x81i\x95\x5C\x82\xCC\x91"
      "S\x97\xF1\x82\xAA\x8C\xA9\x82\xA6\x82\xDC\x82\xB7\x81j",  // 右のパネルは左の境界をドラッグすると広がります（表の全列が見えます）
  };
  static const char* const kEnglish[kKeyHelpLineCount] = {
      "Wheel: zoom about the cursor  Page Up / Page Down: zoom about the centre",
      "Home: fit all  Insert / End: centre the drawing  Arrows: move (Shift: less)",
      "Middle button drag: move the picture  Both buttons, click: centre there",
      "Both buttons, drag  right-down: zoom to box  left-up: out  right-up: all  left-down: back",
      "F3 / Shift+F3: next / previous mark  Double click in the grid: walk that row, column or "
      "total",
      "Ctrl+C: copy the table  Ctrl+Shift+C: copy the list of marks  Ctrl+S: save the picture and "
      "tables",
      "Hold Esc: stop a drawing  F1: the next hint",
      "Ctrl+O: open a drawing file  F5: search the saved drawing, blocks included (when offered)",
      "Drag the right panel's left border to widen it: the grid shows every column",
  };
  if (index < 0 || index >= kKeyHelpLineCount) return {};
  return std::to_string(index + 1) + "/" + std::to_string(kKeyHelpLineCount) + "  " +
         (japanese ? kJapanese[index] : kEnglish[index]);
}

namespace {

constexpr const char* kSaveJapanese =
    "\x89\xE6\x91\x9C\x82\xC6\x95\x5C\x82\xF0\x95\xDB\x91\xB6";  // 画像と表を保存

}  // namespace

std::string HandOverMenuText(THandOver what, bool japanese) {
  switch (what) {
    case THandOver::CopyTally:
      return japanese ? "\x95\x5C\x82\xF0\x83R\x83s\x81["  // 表をコピー
                      : "Copy the table";
    case THandOver::CopyMarks:
      return japanese
                 ? "\x83}\x81[\x83N\x82\xCC\x88\xEA\x97\x97\x82\xF0\x83R\x83s\x81["  // マークの一覧をコピー
                 : "Copy the list of marks";
    case THandOver::Save:
      return japanese ? std::string(kSaveJapanese) + "..." : "Save the picture and tables...";
  }
  return {};
}

const char* HandOverKey(THandOver what) noexcept {
  switch (what) {
    case THandOver::CopyTally: return "Ctrl+C";
    case THandOver::CopyMarks: return "Ctrl+Shift+C";
    case THandOver::Save: return "Ctrl+S";
  }
  return "";
}

std::string OpenDialogTitle(bool japanese) {
  return japanese ? "\x90}\x96\xCA\x83t\x83@\x83"
                    "C\x83\x8B\x82\xF0\x8AJ\x82\xAD"  // 図面ファイルを開く
                  : "Open a drawing file";
}

std::string OpenDialogFilter(bool japanese) {
  return japanese ? "\x90}\x96\xCA\x83t\x83@\x83"
                    "C\x83\x8B"  // 図面ファイル
                  : "Drawing files";
}

std::string SaveDialogTitle(bool japanese) {
  return japanese ? kSaveJapanese : "Save the picture and tables";
}

std::string CopiedText(THandOver what, int markCount, bool copied, bool japanese) {
  if (!copied)
    return japanese
               ? "\x83N\x83\x8A\x83"
                 "b\x83v\x83{\x81[\x83h\x82\xF0\x8Eg\x82\xA6\x82\xDC\x82\xB9\x82\xF1"  // クリップボードを使えません
               : "The clipboard cannot be used";
  if (what == THandOver::CopyMarks)
    return japanese
               ? "\x83}\x81[\x83N\x82\xCC\x88\xEA\x97\x97 (" +
                     std::to_string(markCount) +  // マークの一覧 (
                     " \x8C\xC2) \x82\xF0\x83R\x83s\x81[\x82\xB5\x82\xDC\x82\xB5\x82\xBD"  //  個)
                                                                                           //  をコピーしました
               : "Copied the list of " + std::to_string(markCount) +
                     (markCount == 1 ? " mark" : " marks");
  return japanese
             ? "\x8FW\x8Cv\x95\x5C\x82\xF0\x83R\x83s\x81[\x82\xB5\x82\xDC\x82\xB5\x82\xBD"  // 集計表をコピーしました
             : "Copied the tally table";
}

std::string SavedText(const std::string& picture, const std::string& tally,
                      const std::string& marks, bool japanese) {
  return japanese ? "\x95\xDB\x91\xB6\x82\xB5\x82\xDC\x82\xB5\x82\xBD: " + picture + ", " + tally +
                        ", " + marks  // 保存しました:
                  : "Saved " + picture + ", " + tally + " and " + marks;
}

std::string SaveFailedText(const std::string& file, int error, const std::string& reason,
                           bool japanese) {
  std::string why;
  if (error == EACCES || error == EPERM || error == EROFS) {
    why = japanese ? "\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x82\xAA\x8B\x96\x89\xC2\x82\xB3\x82\xEA\x82"
                     "\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1"  // 書き込みが許可されていません
                   : "writing there is not allowed";
  } else if (error == ENOSPC) {
    why =
        japanese
            ? "\x83"
              "f\x83"
              "B\x83X\x83N\x82\xAA\x82\xA2\x82\xC1\x82\xCF\x82\xA2\x82\xC5\x82\xB7"  // ディスクがいっぱいです
            : "the disk is full";
  } else if (error != 0) {
    why = japanese ? "\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x83G\x83\x89\x81[ (errno " +
                         std::to_string(error) + ")"  // 書き込みエラー
                   : std::string(std::strerror(error));
  } else {
    why = reason;
  }
  return japanese ? "\x95\xDB\x91\xB6\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1: " + file + " (" +
                        why + ")"  // 保存できません:
                  : "Cannot save " + file + ": " + why;
}

namespace {

// Where a notice's line may break: after a separator, or where one kind of character meets
// another.
enum class TCharKind { Separator, Word, Kana, Kanji, Other };

TCharKind KindOf(std::string_view ch) noexcept {
  const auto b0 = static_cast<unsigned char>(ch[0]);
  if (ch.size() == 1) {
    if (b0 == ' ' || b0 == '/' || b0 == '\\' || b0 == ':') return TCharKind::Separator;
    if ((b0 >= '0' && b0 <= '9') || (b0 >= 'A' && b0 <= 'Z') || (b0 >= 'a' && b0 <= 'z') ||
        b0 == '_' || b0 == '.' || b0 == '-')
      return TCharKind::Word;
    if (b0 >= 0xA1 && b0 <= 0xDF) return TCharKind::Kana;  // one-byte katakana
    return TCharKind::Other;
  }
  const unsigned code = b0 << 8 | static_cast<unsigned char>(ch[1]);
  switch (code) {
    case 0x8140:  // ideographic space
    case 0x8141:  // 、
    case 0x8142:  // 。
    case 0x8146:  // ：
    case 0x815E:  // ／
    case 0x815F:  // ＼
      return TCharKind::Separator;
    case 0x815B:  // ー, part of a katakana word
      return TCharKind::Kana;
    default: break;
  }
  if (code >= 0x824F && code <= 0x829A) return TCharKind::Word;  // full-width letters, digits
  if (code >= 0x829F && code <= 0x8396) return TCharKind::Kana;  // hiragana, katakana
  if (code >= 0x889F) return TCharKind::Kanji;
  return TCharKind::Other;
}

}  // namespace

std::vector<std::string_view> BreakNoticeLines(std::string_view text, std::size_t fit) {
  fit = std::max<std::size_t>(fit, 2);
  std::vector<std::string_view> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    // The characters that fit, and the last place of each kind of break among them.
    std::size_t end = i, afterSeparator = 0, kindChange = 0;
    TCharKind before = TCharKind::Other;
    while (end < text.size()) {
      const std::size_t n = CharLength(text, end);
      if (end + n - i > fit) break;
      const TCharKind kind = KindOf(text.substr(end, n));
      if (end > i && kind != before && before != TCharKind::Separator) kindChange = end;
      end += n;
      if (kind == TCharKind::Separator) afterSeparator = end;
      before = kind;
    }
    if (end < text.size()) {
      const std::size_t least = i + (end - i + 1) / 2;
      if (afterSeparator >= least)
        end = afterSeparator;
      else if (kindChange >= least)
        end = kindChange;
    }
    lines.push_back(text.substr(i, end - i));
    i = end;
  }
  return lines;
}

TNoticeLayout LayOutNotice(std::string_view text, int dpi, int width, int height) {
  TNoticeLayout n;
  n.CellHeight = ScaleForDpi(16, dpi);
  n.HalfWidth = ScaleForDpi(8, dpi);
  n.Pad = ScaleForDpi(8, dpi);
  // The room inside the box's pad and frame; a notice wider than the preview (a long folder
  // name) goes on as many lines as it takes, so that none of it is cut off.
  const int room = (width - 2 * n.Pad - 4) / n.HalfWidth;
  n.Lines = BreakNoticeLines(text, static_cast<std::size_t>(std::max(2, room)));
  std::size_t longest = 0;
  for (const std::string_view line : n.Lines) longest = std::max(longest, line.size());
  n.TextWidth = static_cast<int>(longest) * n.HalfWidth;
  n.TextHeight = static_cast<int>(n.Lines.size()) * n.CellHeight;
  n.Left = std::max(2, (width - n.TextWidth) / 2);
  n.Top = std::max(2, (height - n.TextHeight) / 2);
  return n;
}

}  // namespace sxf
