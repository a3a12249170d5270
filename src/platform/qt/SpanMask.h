#pragma once
// A shape's pixels as runs along rows, for the caches that draw a shape once with QPainter
// and write its pixels again wherever it recurs.

#include <QImage>
#include <QPoint>
#include <vector>

namespace sxf {

struct TPixelSpan {
  int Dy, Dx, Length;  // from the shape's origin
};

// The runs of pixels of the mask that are not black, relative to the mask's pixel origin.
std::vector<TPixelSpan> SpansOfMask(const QImage& mask, QPoint origin);

// Writes the runs at origin in one colour, into rows rowTop .. rowBottom - 1 and the image's
// columns only.
void FillSpans(QImage& image, const std::vector<TPixelSpan>& spans, QPoint origin, QRgb colour,
               int rowTop, int rowBottom);

}  // namespace sxf
