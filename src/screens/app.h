// The desktop program: starts Qt and the first window.
#pragma once

namespace kisharin {

int runApp(int argc, char** argv);

}  // namespace kisharin
