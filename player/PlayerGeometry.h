#pragma once

// The player window's designed sizes, in twips, outer frame included.
namespace PlayerGeometry {
constexpr int ExpandedWidth = 9930; // the right-hand column in view; exactly this width is "expanded"
constexpr int CollapsedWidth = 5350;
constexpr int HeightWithoutNotes = 5300;
constexpr int HeightWithNotes = 7500;
} // namespace PlayerGeometry
