// version.h: which Tessarin this is, for --version and the About box.
#pragma once

// The project's version, "X.Y.Z".
const char* versionnumber();

// "tessarin X.Y.Z", followed by " (git REVISION)" when the program was
// built from a git checkout.
const char* versionline();
