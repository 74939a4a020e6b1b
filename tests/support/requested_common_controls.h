#pragma once
// The version of the common controls that this test program asks for: 6 in a
// program whose manifest names version 6 (its tests run as V6.*), 5 in one
// without a manifest, which gets the classic controls.
extern const int requested_common_controls;
