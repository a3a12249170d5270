#include "globals/UnitGval.h"

#include "util/MyFunc.h"

namespace sxf {

std::string ProgramFolder;

std::unique_ptr<TgraAttribute> GraAttr;

std::string DrawingPath;
std::string DrawingTitle;
std::string DrawingMemo1;
std::string DrawingMemo2;
double DrawingScale = 0;
double PrintFactor = 0;
double DrawingTime = 0;
std::vector<TStr2List> TextVariables;

void ResetTextEnvironment() {
  DrawingPath.clear();
  DrawingTitle.clear();
  DrawingMemo1.clear();
  DrawingMemo2.clear();
  DrawingScale = 0;
  PrintFactor = 0;
  DrawingTime = 0;
  TextVariables.clear();
}

}  // namespace sxf
