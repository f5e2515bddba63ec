# The station announcements are played through PulseAudio's simple API. Its development
# files (Debian: libpulse-dev, installed by scripts/install-deps.sh) are required, so that
# a build never drops the voice without a word; -DKISHARIN_VOICE=OFF builds a silent game
# on purpose. Defines PULSE_SIMPLE_FOUND and the target PkgConfig::PULSE_SIMPLE.
option(KISHARIN_VOICE "Play the station announcements (needs libpulse-dev)" ON)
if(KISHARIN_VOICE)
  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_check_modules(PULSE_SIMPLE QUIET IMPORTED_TARGET libpulse-simple)
  endif()
  if(NOT PULSE_SIMPLE_FOUND)
    message(FATAL_ERROR
      "The PulseAudio development files (libpulse-simple.pc, Debian package libpulse-dev) "
      "were not found, so the station announcements could not be built.\n"
      "Install them with `make deps` (scripts/install-deps.sh) or `sudo apt-get install "
      "libpulse-dev pkg-config`, then configure again; or configure with -DKISHARIN_VOICE=OFF "
      "to build the game without its voice.")
  endif()
endif()
