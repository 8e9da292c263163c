#pragma once

// The faces text can be set in, as fontconfig knows them.

#include <string>
#include <vector>

// The installed scalable faces by family name (Windows-1252 bytes), together with the Windows core names that
// fontconfig binds to a metric-compatible face ("Arial" when Liberation Sans is installed, ...). Sorted byte-wise
// and without repeats. Read once, on first use, and kept for the run, so that an index into it stays valid.
const std::vector<std::string>& GetInstalledFaceNames();

// fontconfig is let go at exit, so that the leak checker of the tests sees only real leaks. A program whose GUI
// toolkit holds fontconfig's caches until the very end calls this once at start: letting go under the toolkit's
// feet would end the program in fontconfig's own assertions.
void KeepFontconfigAtExit();

// Where a face is drawn from: the font file fontconfig matches for a face name and style.
struct MatchedFace
{
    std::string file;           // path of the font file; empty when nothing matched
    int index = 0;              // face index within the file
    std::string family;         // the family drawn, UTF-8 ("Liberation Sans" for "Arial")
    bool needsEmbolden = false; // bold was asked for and the match has no bold face
    bool needsSlant = false;    // italic was asked for and the match has no italic or oblique face
};

// The face fontconfig picks for the name (Windows-1252 bytes), weight (400 normal, 700 bold) and italic flag. A
// name nothing is installed for gets fontconfig's default face, as the desktop platform substitutes one.
MatchedFace MatchFace(const std::string& faceName, int weight, bool italic);
