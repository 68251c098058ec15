#pragma once
// A dialog's font, resolved through fontconfig to an installed family, and the dialog units it
// defines: a horizontal unit is a quarter of the font's average character width, a vertical one
// an eighth of its height. The units can be enlarged evenly where the template's rectangles are
// too small for the texts and controls drawn here at that font.
#include <cmath>
#include <string>

class DialogFont {
public:
    DialogFont(const char* name, int points);

    const std::string& Family() const { return family_; }
    int Points() const { return points_; }
    int BaseUnitX() const { return baseX_; }
    int BaseUnitY() const { return baseY_; }
    // Multiplies both units by scale (1 keeps the font's own).
    void SetScale(double scale) { scale_ = scale; }
    int ToPixelsX(int units) const { return static_cast<int>(std::lround(units * baseX_ * scale_ / 4.0)); }
    int ToPixelsY(int units) const { return static_cast<int>(std::lround(units * baseY_ * scale_ / 8.0)); }

    // The family fontconfig picks for a name, preferring fonts that cover Japanese (the dialogs'
    // language); the name itself when fontconfig is unavailable.
    static std::string Resolve(const char* name);

private:
    std::string family_;
    int points_;
    int baseX_ = 6;
    int baseY_ = 12;
    double scale_ = 1.0;
};
