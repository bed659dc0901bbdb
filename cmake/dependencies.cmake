# Finding what the build and its tests take from the system. Each helper names the Debian
# package that provides what it looks for; whatever is missing is collected, and
# tf_missing_packages gives one sentence naming them all, which the top-level CMakeLists.txt
# stops with (a message from there carries no CMake call stack).

set_property(GLOBAL PROPERTY TF_MISSING "")

function(tf_missing what debian)
  set_property(GLOBAL APPEND PROPERTY TF_MISSING "${what} (Debian: ${debian})")
endfunction()

# find_package(NAME ARGS...), DEBIAN naming the package (or packages, "a b") that provide it.
macro(tf_find_package name debian)
  find_package(${name} QUIET ${ARGN})
  if(NOT ${name}_FOUND)
    tf_missing("${name}" "${debian}")
  endif()
endmacro()

# A pkg-config module as the imported target PkgConfig::PREFIX.
macro(tf_find_module prefix module debian)
  find_package(PkgConfig QUIET)
  if(NOT PkgConfig_FOUND)
    tf_missing(pkg-config pkg-config)
  else()
    pkg_check_modules(${prefix} QUIET IMPORTED_TARGET GLOBAL ${module})
    if(NOT ${prefix}_FOUND)
      tf_missing("the library ${module}" "${debian}")
    endif()
  endif()
endmacro()

# A program the tests run, found into the cache variable VAR.
function(tf_find_program var program debian)
  find_program(${var} ${program})
  if(NOT ${var})
    tf_missing("the program ${program}" "${debian}")
  endif()
endfunction()

# A file a package installs that is only used when something runs: Qt's translations, a font.
function(tf_require_file file what debian)
  if(NOT EXISTS "${file}")
    tf_missing("${what}" "${debian}")
  endif()
endfunction()

# The sentence to stop with in OUT, empty when nothing is missing.
function(tf_missing_packages out)
  get_property(missing GLOBAL PROPERTY TF_MISSING)
  set(sentence "")
  if(missing)
    list(JOIN missing ", " names)
    string(CONCAT sentence "Not found on this machine: ${names}. Install the Debian packages "
                 "named, or run scripts/install-deps, which installs everything the build needs.")
  endif()
  set(${out} "${sentence}" PARENT_SCOPE)
endfunction()

# Everything the build and its tests find on the system, but Qt, which decides what is built.
macro(tf_find_dependencies)
  if(CMAKE_CROSSCOMPILING AND MINGW)
    tf_find_package(ZLIB libz-mingw-w64-dev)
  elseif(WIN32)
    find_package(ZLIB REQUIRED)
  else()
    tf_find_package(ZLIB zlib1g-dev)
  endif()
  if(TF_WORKBOOKS)
    tf_find_module(XLSXWRITER xlsxwriter libxlsxwriter-dev)
    tf_find_module(LIBZIP libzip libzip-dev)
    tf_find_module(EXPAT expat libexpat1-dev)
  endif()
  # The price library: SQLite embedded, PostgreSQL through libpqxx (not in the Windows cross-build).
  if(NOT WIN32)
    tf_find_module(SQLITE3 sqlite3 libsqlite3-dev)
    tf_find_module(PQXX libpqxx libpqxx-dev)
  endif()
  if(TF_TESTS AND WIN32 AND CMAKE_HOST_UNIX)
    tf_require_file(/usr/src/googletest/CMakeLists.txt "GoogleTest's sources" googletest)
  elseif(TF_TESTS AND NOT WIN32)
    tf_find_package(GTest "libgtest-dev libgmock-dev")
    # What the tests run or load besides the build's own programs.
    tf_find_program(TF_XVFB_RUN xvfb-run xvfb)
    tf_find_program(TF_XAUTH xauth xauth)
    tf_find_program(TF_PDFTOTEXT pdftotext poppler-utils)
    tf_find_program(TF_SOFFICE soffice libreoffice-calc)
    tf_find_program(TF_LINTIAN lintian lintian)
    tf_find_program(TF_PG_VIRTUALENV pg_virtualenv "postgresql postgresql-common")
    execute_process(COMMAND /usr/bin/python3 -c "import openpyxl"
                    RESULT_VARIABLE tf_no_openpyxl OUTPUT_QUIET ERROR_QUIET)
    if(tf_no_openpyxl)
      tf_missing("openpyxl for /usr/bin/python3" python3-openpyxl)
    endif()
    tf_require_file(${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}/qtbase_zh_CN.qm
                    "Qt's Chinese translations" qt6-translations-l10n)
    tf_require_file(/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc "a Chinese font"
                    fonts-noto-cjk)
  endif()
  if(TF_BENCH)
    tf_find_package(benchmark libbenchmark-dev)
  endif()
endmacro()
