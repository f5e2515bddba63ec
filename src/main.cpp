// キシャリン: a board game of travel by train across Japan.
#include "screens/app.h"

int main(int argc, char** argv) { return kisharin::runApp(argc, argv); }
