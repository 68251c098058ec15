#pragma once
// A dialog's font, resolved through fontconfig to an installed family, and the dialog units it
// defines: a horizontal unit is a quarter of the font's average character width, a vertical one
// an eighth of its height.
#include <string>

class DialogFont {
public:
    DialogFont(const char* name, int points);

    const std::string& Family() const { return family_; }
    int Points() const { return points_; }
    int BaseUnitX() const { return baseX_; }
    int BaseUnitY() const { return baseY_; }
    int ToPixelsX(int units) const { return (units * baseX_ + 2) / 4; }
    int ToPixelsY(int units) const { return (units * baseY_ + 4) / 8; }

    // The family fontconfig picks for a name, preferring fonts that cover Japanese (the dialogs'
    // language); the name itself when fontconfig is unavailable.
    static std::string Resolve(const char* name);

private:
    std::string family_;
    int points_;
    int baseX_ = 6;
    int baseY_ = 12;
};
