#pragma once
#include <vector>

#include "records/settings.h"
#include "tests/support/support.h"

// Builds drawings straight into the shape tables, laid out as the reader lays
// them out, for tests that do not need a DXF file.
struct Vertex {
    float x, y;
    bool arc_to_next = false;  // the element from here to the next vertex is an arc
    float mx = 0, my = 0;      // ... through this middle point
};

// Each figure is a chain of vertices; an element joins each vertex to the next.
// The terminator after each figure holds its last vertex, as when the reader
// did not have to close it. Selects figure 1.
void load_figures(const std::vector<std::vector<Vertex>>& figures);

// A rectangle as a closed chain of five vertices, counter-clockwise from (x, y).
std::vector<Vertex> rectangle(float x, float y, float width, float height);

// A program directory and the settings the planning tests measure with:
// forming direction 1, a 0.25 in. bit, arcs notched every 0.5 in. at most.
class PlanningTest : public ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        settings.direction = 1;
        settings.bit = 0.25f;
        settings.arc_notch = 0.5f;
    }
};
