#pragma once

#include "platform/PrintDocument.h"

namespace trv {

/// How a document is put on the paper of a device.
struct PageFit {
    PageOrientation orientation = PageOrientation::Portrait;
    /// Factor applied to positions and font sizes (1 or less).
    double scale = 1.0;

    bool operator==(const PageFit&) const = default;
};

/// Fitting a document to the pages of a real device. A report line is never clipped or wrapped: when the
/// widest line does not fit across the page, the document goes landscape, and when it still does not fit,
/// everything is printed smaller, the fixed-pitch columns intact.
namespace PrintLayout {

/// The fit for a device whose printable area in portrait is `portraitWidth` x `portraitHeight` twips. A
/// document that asked for landscape stays landscape.
PageFit choose(const PrintDocument& document, int portraitWidth, int portraitHeight);

/// The document laid out on pages of `pageWidth` x `pageHeight` twips (the device's printable area in the
/// fit's orientation), positions and font sizes scaled. Pages that began because the previous one was
/// full flow on and are broken again where the device's page is full, never inside a line; pages begun on
/// purpose still begin a page. When nothing changes, the pages are those of the document.
PrintDocument fit(const PrintDocument& document, const PageFit& fit, int pageWidth, int pageHeight);

} // namespace PrintLayout

} // namespace trv
