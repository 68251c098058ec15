#pragma once
// The tool's resources: its dialog templates, its string and its icon.

// Registers them once; later calls do nothing.
void RegisterConfigResources();
