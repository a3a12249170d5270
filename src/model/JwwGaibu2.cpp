#include "model/JwwGaibu2.h"

#include <cmath>
#include <string>
#include <vector>
#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "model/JwwEntityLists.h"

namespace sxf {

std::vector<TJwwEntLin> LinList;
int LinCount = 0;
std::vector<TJwwEntCir> CirList;
int CirCount = 0;
std::vector<TJwwEntArc> ArcList;
int ArcCount = 0;
std::vector<TJwwEntTxt> TxtList;
int TxtCount = 0;
std::vector<TJwwEntPnt> PntList;
int PntCount = 0;
std::vector<TJwwEntPntEx> PntExList;
int PntExCount = 0;
std::vector<TJwwEntDim> DimList;
int DimCount = 0;
std::vector<TJwwEntBlk> BlkList;
int BlkCount = 0;
std::vector<TJwwEntSl2> Sl2List;
int Sl2Count = 0;
std::vector<TJwwEntSl3> Sl3List;
int Sl3Count = 0;
std::vector<TJwwEntSl4> Sl4List;
int Sl4Count = 0;
std::vector<TJwwEntSlArc> ScList;
int ScCount = 0;
std::vector<TJwwEntSlArc> SeList;
int SeCount = 0;
std::vector<TJwwEntSlArc2> SoList;
int SoCount = 0;
std::vector<TJwwEntSlArc2> SgList;
int SgCount = 0;
std::vector<TJwwEntRef> EntOrder;
int EntOrderCount = 0;

std::string JwwFileName;
std::array<double, 16> LayerGroupScale{};
bool NoGroupScale = false;
std::array<TJwwTextKind, 11> TextKinds{};
double PaperSizeX = 0, PaperSizeY = 0;
double HkValue = 0;
double HnX1 = 0, HnY1 = 0, HnX2 = 0, HnY2 = 0;
std::array<int, 356> HostRgb{};
std::vector<int> GroupState;
std::vector<std::string> GroupName;
std::vector<int> LayerState;
std::vector<std::string> LayerName;
std::vector<TJwwHp> HpList;
int HpCount = 0;

TJwwReaderState JwwReader;

const std::string kDefaultFontName = "<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E>";

TReadProgress ReadProgress;

void AdviseLargePages(void* data, std::size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  if (bytes < 2 * kLargePage) return;
  const auto from = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (from + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t last = (from + bytes) & ~(kLargePage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

namespace {

template <typename T>
void ClearList(std::vector<T>& list, int& count) {
  list.clear();
  count = 0;
}

template <typename T>
void ReleaseList(std::vector<T>& list) {
  std::vector<T>().swap(list);
}

void ResetReaderStart(TJwwReaderState& r) {
  r = TJwwReaderState{};
  r.CurFontName = kDefaultFontName;
  r.DimLine.Hdr = TJwwEntHdr{0, 0, 0, 1, 1, 0, 0};
  r.DimLine.X2 = 1.0;
}

}  // namespace

void InitJwwModel() {
  ClearList(LinList, LinCount);
  ClearList(CirList, CirCount);
  ClearList(ArcList, ArcCount);
  ClearList(TxtList, TxtCount);
  ClearList(PntList, PntCount);
  ClearList(PntExList, PntExCount);
  ClearList(DimList, DimCount);
  ClearList(BlkList, BlkCount);
  ClearList(Sl2List, Sl2Count);
  ClearList(Sl3List, Sl3Count);
  ClearList(Sl4List, Sl4Count);
  ClearList(ScList, ScCount);
  ClearList(SeList, SeCount);
  ClearList(SoList, SoCount);
  ClearList(SgList, SgCount);
  ClearList(EntOrder, EntOrderCount);

  JwwFileName.clear();
  LayerGroupScale.fill(1.0);
  NoGroupScale = false;
  TextKinds.fill(TJwwTextKind{3.0, 3.0, 0.0, 2});
  PaperSizeX = 1189.0;
  PaperSizeY = 841.0;
  HkValue = 0.0;
  HnX1 = HnY1 = HnX2 = HnY2 = 0.0;
  HostRgb.fill(0);
  GroupState.assign(16, 0);
  GroupName.assign(16, std::string());
  LayerState.assign(256, 0);
  LayerName.assign(256, std::string());
  HpList.assign(100, TJwwHp{});
  HpCount = 0;

  ResetReaderStart(JwwReader);
}

void FreeJwwModel() {
  ReleaseList(GroupState);
  ReleaseList(GroupName);
  ReleaseList(LayerState);
  ReleaseList(LayerName);
  ReleaseList(HpList);
  ReleaseList(EntOrder);
  ReleaseList(LinList);
  ReleaseList(CirList);
  ReleaseList(ArcList);
  ReleaseList(TxtList);
  ReleaseList(PntList);
  ReleaseList(PntExList);
  ReleaseList(DimList);
  ReleaseList(BlkList);
  ReleaseList(Sl2List);
  ReleaseList(Sl3List);
  ReleaseList(Sl4List);
  ReleaseList(ScList);
  ReleaseList(SeList);
  ReleaseList(SoList);
  ReleaseList(SgList);
}

void AddEntRef(int kind, int index) {
  MakeRoom(EntOrder);
  EntOrder.push_back(TJwwEntRef{kind, index});
  ++EntOrderCount;
}

double GroupScaleDivisor(const TJwwEntHdr& hdr) noexcept {
  if (NoGroupScale) return 1.0;
  if (hdr.Group < 0 || hdr.Group > 15) return 1.0;
  const double s = LayerGroupScale[static_cast<std::size_t>(hdr.Group)];
  return (s == 0.0 || !std::isfinite(s)) ? 1.0 : s;
}

void ResetJwwCurrentState() {
  TJwwReaderState& r = JwwReader;
  r.AwaitGroup = r.AwaitLayer = r.AwaitColor = r.AwaitLType = r.AwaitLWidth = r.AwaitTextKind =
      true;
  const TJwwReaderState start{};
  r.CurGroup = start.CurGroup;
  r.CurLayer = start.CurLayer;
  r.CurColor = start.CurColor;
  r.CurLType = start.CurLType;
  r.CurLWidth = start.CurLWidth;
  r.CurTextKind = start.CurTextKind;
  r.FreeTextW = start.FreeTextW;
  r.FreeTextH = start.FreeTextH;
  r.FreeTextD = start.FreeTextD;
  r.FreeTextColor = start.FreeTextColor;
  r.CurBasePoint = start.CurBasePoint;
  r.CurFontName = kDefaultFontName;
  r.CurPointColor = start.CurPointColor;
  r.CurRgb = start.CurRgb;
}

}  // namespace sxf
