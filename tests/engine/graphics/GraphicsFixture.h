#pragma once
// An engine on the program's main window, on the recording device (or the OpenGL one), in a
// scratch folder that is the current directory; reported errors are captured.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/GraphicsEngine.h"
#include "platform/d3d9/D3D9TestHooks.h"
#include "platform/d3d9/RecordingDevice.h"

class GraphicsFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window and the engine; the answers decide the adapter (nullopt: the real one).
    int Start(std::optional<D3D9AdapterAnswers> answers, int screenMode = 0, int deviceCheckMode = 0);
    RecordingDevice* Recorder() const;
    std::string Path(const std::string& name) const { return folder + "/" + name; }
    // The ids of the messages reported so far, in order.
    std::vector<int> ReportedIds() const;
    // Delivers pending window messages (activation, focus).
    static void Pump();

    GraphicsEngine* engine = nullptr;
    std::string folder;
    std::vector<std::string> messages;
};
