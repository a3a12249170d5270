// The names Ctrl+S offers and writes.

#include "form/SavedFiles.h"

#include <gtest/gtest.h>

namespace sxf {
namespace {

TEST(SavedFiles, TheOfferedNameIsTheDrawingsAndTheOthersFollowTheChosenOne) {
  const struct {
    const char* drawing;
    const char* offered;
  } offers[] = {
      {"C:\\jww\\plan.jww", "plan.png"},
      {"", "JWC_TEMP.png"},
      {"C:\\a\\b.c.jww", "b.c.png"},
      {"C:\\\x83\x5C\x83t\x83g.jww",
       "\x83\x5C\x83t\x83g.png"},  // ソフト: 0x5C is a trail byte there
      {"\\\\server\\share\\a*b?.jww", "a_b_.png"},
      {"C:\\dir\\.jww", "JWC_TEMP.png"},
  };
  for (const auto& o : offers) EXPECT_EQ(SuggestedPictureName(o.drawing), o.offered) << o.drawing;

  const struct {
    const char* chosen;
    TSavedFileNames names;
  } choices[] = {
      {"/t/x.png", {"/t/x.png", "/t/x-tally.csv", "/t/x-marks.csv"}},
      {"/t/x.PNG", {"/t/x.png", "/t/x-tally.csv", "/t/x-marks.csv"}},
      {"/t/x", {"/t/x.png", "/t/x-tally.csv", "/t/x-marks.csv"}},
  };
  for (const auto& c : choices) {
    const TSavedFileNames n = SavedFileNames(c.chosen);
    EXPECT_EQ(n.Picture + n.Tally + n.Marks, c.names.Picture + c.names.Tally + c.names.Marks)
        << c.chosen;
  }
}

}  // namespace
}  // namespace sxf
