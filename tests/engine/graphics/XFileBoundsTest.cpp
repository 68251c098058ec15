// The bound on what a .x file may claim before the importer sizes its arrays by it.
#include <gtest/gtest.h>

#include <string>

#include "platform/d3d9/XFileBounds.h"

namespace {

bool WithinBounds(const std::string& file)
{
    return XFileWithinBounds(reinterpret_cast<const unsigned char*>(file.data()), file.size());
}

// A triangle whose numbers include every form a count cannot take: negative and large
// coordinates with fractions, an exponent, an integer part too large for a count.
const std::string kTriangle = R"(xof 0303txt 0032
Mesh tri {
 3;
 -5.000000;0.999999;1e-9;,
 123456789.5;-0.250000;2.0E+7;,
 0.0;1.0;-4294967295.0;;
 1;
 3;0,1,2;;
}
)";

TEST(XFileBoundsTest, WhatATextFileCanHoldPasses)
{
    EXPECT_TRUE(WithinBounds(kTriangle));
    // A count of faces just within half the file's bytes.
    std::string faces = "xof 0303txt 0032\nMesh m {\n 0;\n 100;\n";
    faces += std::string(200, ' ') + "\n}\n";
    EXPECT_TRUE(WithinBounds(faces));
    // Material lists whose faces find a material: by reference, or after an object skipped.
    const std::string mesh = "xof 0303txt 0032\nMesh m {\n 0;\n 1;\n 0;;\n MeshMaterialList {\n 1;\n 1;\n 0;;\n";
    EXPECT_TRUE(WithinBounds(mesh + " { Stone }\n }\n}\n"));
    // Normals whose faces name only normals of the list.
    EXPECT_TRUE(WithinBounds("xof 0303txt 0032\nMesh m {\n 0;\n 0;\n MeshNormals n {\n  3;\n  0.0;1.0;0.0;,\n"
                             "  1.0;0.0;0.0;,\n  0.0;0.0;1.0;;\n  1;\n  3;0,1,2;;\n }\n}\n"));
    EXPECT_TRUE(WithinBounds(mesh + " Note { 1; { 2; } }\n Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; "
                                    "0.0;0.0;0.0;; }\n }\n}\n"));
}

TEST(XFileBoundsTest, ClaimsBeyondTheFileOrOtherFormatsAreRefused)
{
    const std::string header = "xof 0303txt 0032\n";
    struct Case {
        const char* what;
        std::string file;
    };
    const Case cases[] = {
        {"a count beyond half the file", header + "Mesh m {\n 1000;\n 0.0;0.0;0.0;;\n}\n"},
        {"a negative count, which wraps", header + "Mesh m {\n -1;\n 0.0;0.0;0.0;;\n}\n"},
        {"a count whose digits wrap past 32 bits", header + "Mesh m {\n 4294967295;\n}\n"},
        {"a count ended after a comment", header + "Mesh m {\n 1000 # vertices\n ;\n}\n"},
        {"a count ended after comment lines holding numbers",
         header + "Mesh m {\n#5\n#5\n 1000 # vertices\n# 7\n;\n}\n"},
        {"a count right after a brace", header + "Mesh m {1000;\n}\n"},
        {"a count above the sane maximum in a large file",
         header + "Mesh m {\n 2000000;\n" + std::string(4100000, ' ') + "}\n"},
        {"objects nested deeper than any mesh needs", header + [] {
             std::string s;
             for (int i = 0; i < 5000; ++i) s += "Frame{";
             return s;
         }()},
        {"a texture name of many backslashes", header + "Material m { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; "
                                                        "0.0;0.0;0.0;; TextureFilename { \"" +
                                                   std::string(4000, '\\') + "\"; } }\n"},
        {"faces given materials by a list that holds none",
         header + "Mesh m {\n 0;\n 1;\n 0;;\n MeshMaterialList {\n 1;\n 1;\n 0;;\n Note { 1; }\n }\n}\n"},
        {"a face of the normals naming a normal beyond the list",
         header + "Mesh m {\n 0;\n 0;\n MeshNormals {\n  2;\n  0.0;1.0;0.0;,\n  1.0;0.0;0.0;;\n  1;\n"
                  "  3;0,1,2;;\n }\n}\n"},
        {"a skinned mesh", header + "Mesh m {\n 0;\n 0;\n SkinWeights {\n  \"bone\";\n  0;\n }\n}\n"},
        {"the binary format", "xof 0303bin 0032" + std::string(64, '\0')},
        {"the compressed text format", "xof 0303tzip0032" + std::string(64, '\0')},
        {"the compressed binary format", "xof 0303bzip0032" + std::string(64, '\0')},
        {"no header", "Mesh m {\n 3;\n}\n"},
        {"a header cut short", "xof 0303txt"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(WithinBounds(c.file)) << c.what;
    }
    EXPECT_FALSE(XFileWithinBounds(nullptr, 100));
}

}  // namespace
