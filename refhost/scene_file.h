#pragma once
// The reference host's scene file: a text file, one shape per line in depth
// first order, followed by lines for what the shape holds.
//
//     kelvaro-scene 1
//     size_unit 1
//     time 0
//     part 0 0 Figure                  (part DEPTH PART_KIND NAME)
//     joint 1 Shoulder                 (a ball joint)
//     center 0 150 0
//     rotation 1 0 0 0                 (w x y z)
//     key 10 1 0 0 0                   (time w x y z)
//     motion 1
//     stream 1084227632 0000344300...  (key, the record's bytes in hex)
//     shape 2 1 Box                    (shape DEPTH KIND NAME: not a part)
//     transformation m0 ... m15
//     line_option 0 / point x y z (×5) / color r g b   (lines)
//     select Elbow                     (the active shapes, by name, in order)
//
// Floats are written with nine significant digits, so they read back exactly.
// The plug-in's guide figure ("#Kelvaro_Guide") is left out: it belongs to an
// open panel, not to the scene.
#include <string>
#include "simhost/sim_scene.h"

bool save_scene_file(SimScene& scene, const std::string& path, std::string* error);
// Fills an empty scene; false with a reason (file and line) when the file
// cannot be read or a line makes no sense. What was read before stays.
bool load_scene_file(SimScene& scene, const std::string& path, std::string* error);
