#!/usr/bin/env bash
# check_no_allocation.sh BUILD_DIR
# The drag step (apply_axis_change) and everything it calls must allocate
# nothing: none of their object files may refer to an allocator. Reads the
# undefined symbols of each object with the cross toolchain's nm.
set -euo pipefail
objects=${1:?build dir, e.g. build/win}/CMakeFiles/kelvaro_core.dir
status=0
for source in joint/axis_change joint/joint_link math/matrix4 math/quaternion \
              math/matrix_decomposition math/vector3 math/rotation_constants; do
  object="$objects/$source.cpp.obj"
  found=$(i686-w64-mingw32-nm -u "$object" | grep -E '_(malloc|calloc|realloc|strdup)$|__Znw|__Zna|HeapAlloc|LocalAlloc|GlobalAlloc' || true)
  if [ -n "$found" ]; then
    echo "$source allocates: $found"
    status=1
  fi
done
[ "$status" = 0 ] && echo "no allocator referenced by the drag step's objects"
exit "$status"
