#pragma once

// A Gaussian blur whose cost per pixel does not depend on sigma: a separable recursive filter after Deriche's
// fourth-order approximation, run over rows and then columns of planar strips taken from the image.

#include "image/image.h"
#include "platform/win/win_types.h"

// Blurs the image in place with standard deviation sigma (pixels), only inside rect when one is given. A sigma
// below 0.2 or not a number leaves the image as it is and succeeds.
bool GaussianBlur(CImage* image, double sigma, const RECT* rect = nullptr);

// The blur itself, whatever sigma. False, with the image unchanged, for an indexed image (mode 2 with or
// without alpha), an image without pixels, an infinite sigma or when the work memory cannot be had. A region
// that misses the image, and the free-plane modes 384 to 387, change nothing and succeed.
bool GaussianBlurRegion(CImage* image, double sigma, const RECT* rect = nullptr);

namespace detail {

// The filter's coefficients for one sigma: forward p0..p4, feedback d0..d4 and backward m0..m4 (p4, d0 and m0
// are 0), and their sums, which give the steady states at the ends of a line.
struct DericheCoefficients
{
    double p[5];
    double d[5];
    double m[5];
    double sumP;
    double sumM;
    double sumD;
};

DericheCoefficients ComputeDericheCoefficients(double sigma);

} // namespace detail
