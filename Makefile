# The two set-up commands of a fresh machine are `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 20

.PHONY: deps test run build bench fuzz format clean package windows test-windows

deps:
	@scripts/install-deps

# Clean sanitizer build of everything, then every test.
test: deps
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTF_SANITIZE=ON
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS) -LE 'long|library'
	cd build/test && pg_virtualenv ctest --output-on-failure -L library

build: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTF_TESTS=OFF
	cmake --build build/release -j $(JOBS)

# Starts the program from its program directory (build/release/bin) on the sample project.
run: build
	build/release/bin/tallyframe build/release/bin/data/sample.gdb

# The core, tallyframe-cli and the core's tests cross-built for Windows (MinGW-w64) into
# build/windows, and run under Wine. No display is needed.
windows: deps
	cmake --preset windows-cross
	cmake --build --preset windows-cross -j $(JOBS)

test-windows: windows
	scripts/run-windows-tests build/windows

# The Debian package build/package/tallyframe_<version>_amd64.deb, from a Release build.
package: deps
	cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DTF_TESTS=OFF
	cmake --build build/package -j $(JOBS)
	cd build/package && cpack -G DEB

bench: deps
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTF_BENCH=ON -DTF_TESTS=OFF
	cmake --build build/bench -j $(JOBS)
	for b in build/bench/bench/bench_*; do $$b || exit 1; done
	bench/cli_figures.sh build/bench/bin/tallyframe-cli

# A short run of every fuzz target, starting from its seed corpus (copied, so the
# checked-in corpus only grows by hand).
fuzz: deps
	CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTF_FUZZ=ON -DTF_SANITIZE=ON -DTF_TESTS=OFF
	cmake --build build/fuzz -j $(JOBS)
	for f in build/fuzz/fuzz/fuzz_*; do \
	  name=$${f##*/fuzz_}; work=build/fuzz/corpus/$$name; \
	  mkdir -p $$work && cp -n fuzz/corpus/$$name/* $$work/ ; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -print_final_stats=1 $$work \
	    || exit 1; \
	done

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf build
