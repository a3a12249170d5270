#include "globals/UnitGval.h"

#include "util/MyFunc.h"

namespace sxf {

double ViewLeft = 0, ViewBottom = 0, ViewRight = 0, ViewTop = 0;
double ViewScale = 0;
int ViewWidth = 0, ViewHeight = 0;
int ViewDpi = kDesignDpi;

int ViewPixels(int designLength) noexcept { return ScaleForDpi(designLength, ViewDpi); }
double SavedViewLeft = 0, SavedViewBottom = 0, SavedViewRight = 0, SavedViewTop = 0,
       SavedViewScale = 0;

double ExtentLeft = 0, ExtentBottom = 0, ExtentRight = 0, ExtentTop = 0;

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

void ResetViewState() {
  ViewLeft = ViewBottom = ViewRight = ViewTop = ViewScale = 0;
  ViewWidth = ViewHeight = 0;
  ViewDpi = kDesignDpi;
  SavedViewLeft = SavedViewBottom = SavedViewRight = SavedViewTop = SavedViewScale = 0;
  ExtentLeft = ExtentBottom = ExtentRight = ExtentTop = 0;
}

}  // namespace sxf
