#pragma once

// The gradient record shared by the gradient controls and the site model, and the routines that the program uses
// to turn one into pixels. Nothing here needs a window, so headless code renders gradients with the same rules as
// the controls that edit them.

#include <algorithm>
#include <cstddef>
#include <vector>

#include "image/image.h"

// A start colour, an end colour and stops in between. Each stop has its own colour on either side so that a
// gradient can have hard edges. The three stop arrays have the same length and are kept in ascending position
// order; every colour is an RGB colour (mode 3).
struct GRADIENTCOLORS
{
    CColor start;
    CColor end;
    std::vector<CColor> leftColors;  // per stop, the colour just left of (at) the stop
    std::vector<CColor> rightColors; // per stop, the colour just right of the stop
    std::vector<double> positions;   // per stop, from 0 to 1
    int predefined = -1;             // the predefined gradient this record equals, or -1 for a custom one

    // The number of stops that every array can answer for; the arrays should agree, and readers of them never
    // go past the shortest.
    size_t GetStopCount() const { return std::min({positions.size(), leftColors.size(), rightColors.size()}); }

    void AddStop(double position, const CColor& left, const CColor& right)
    {
        positions.push_back(position);
        leftColors.push_back(left);
        rightColors.push_back(right);
    }

    void RemoveAllStops()
    {
        positions.clear();
        leftColors.clear();
        rightColors.clear();
    }
};

// The gradient routines as static members. The gradient control derives from this class, so that
// CGradientControl::BuildColorBand and its siblings name these very routines.
class CGradientModel
{
public:
    // The number of predefined gradients.
    static int GetPredefinedNo() { return 4; }

    // Makes g predefined gradient n (stops replaced, predefined index set to n). Any other n leaves g unchanged.
    static void GetPredefinedGradient(GRADIENTCOLORS& g, int n);

    // Writes n RGB pixels (3n bytes, red first) of gradient g into rgb. Stop positions outside 0..1 (or not a
    // number) are taken as the nearest end, so nothing is written outside the 3n bytes; n below 1 writes nothing.
    static void BuildColorBand(const GRADIENTCOLORS* g, unsigned char* rgb, int n);

    // Equal stop counts, start, end and stop colours equal as COLORREF, positions exactly equal. The predefined
    // index is not compared.
    static bool IsGradientEqual(const GRADIENTCOLORS& a, const GRADIENTCOLORS& b);

    // The string id of the name under which a gradient is shown: 6 to 9 for the predefined gradients, 10
    // ("Custom") for every other index.
    static int GetGradientNameId(int predefined);
    // The name itself: "White to black", "Black to white", "Blue border", "Rainbow" or "Custom".
    static const char* GetGradientName(int predefined);
};
