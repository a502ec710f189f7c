// The rules every container applies to the control's frame and coordinate properties: which
// BorderStyle, Appearance and ScaleMode values it takes, how many of the scale mode's units a
// device pixel is at the screen's dots per inch, and that sizes are not negative.
#pragma once

#include "core/String.h"

namespace plotara::container_units {

// Twips in an inch.
inline constexpr double twipsPerInch = 1440;

// The value of BorderStyle or Appearance; Error 380 "Invalid property value" for anything but 0
// and 1.
Integer checkedFlag(Integer value);

// The value of ScaleMode: 1 twips, 2 points, 3 pixels, 5 inches, 6 millimetres, 7 centimetres;
// Error 380 for any other.
Integer checkedScaleMode(Integer value);

// A width or height in any unit; Error 380 when it is negative or not a number.
Single checkedSize(Single value);

// How many units of a scale mode (one of those checkedScaleMode takes) one device pixel is on a
// screen of dotsPerInch; 1 for pixels. Cannot fail.
double unitsPerPixel(Integer scaleMode, double dotsPerInch);

} // namespace plotara::container_units
