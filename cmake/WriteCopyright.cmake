# Writes the package's copyright file: the program's licence, then the licences and
# credits of the shipped data (cmake -DOUT=... -DSOURCE=... -P WriteCopyright.cmake).
file(READ ${SOURCE}/LICENSE program_licence)
file(READ ${SOURCE}/data/LICENSE.md data_licence)
set(text "キシャリン\n\nThe program:\n\n${program_licence}\n\nThe shipped data:\n\n${data_licence}\n")
file(GLOB voice_licences ${SOURCE}/third_party/hts-voice-*/COPYING ${SOURCE}/third_party/hts-voice-*/LICENSE*
     ${SOURCE}/third_party/hts-voice-*/README*)
foreach(f ${voice_licences})
  file(READ ${f} voice)
  string(APPEND text "\nThe voice of the announcements:\n\n${voice}\n")
endforeach()
if(EXISTS ${SOURCE}/third_party/opendata/README.md)
  file(READ ${SOURCE}/third_party/opendata/README.md opendata)
  string(APPEND text "\nThe open data the railway and the maps are built from:\n\n${opendata}\n")
endif()
file(WRITE ${OUT} "${text}")
