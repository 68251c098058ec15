#pragma once

enum class FadeMode : int {
    InFromBlack = 0,
    OutToBlack = 1,
    InFromWhite = 2,
    OutToWhite = 3,
};
