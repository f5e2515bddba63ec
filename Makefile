# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

# Second build folders: the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the libFuzzer programs (clang).
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
# Leaks are looked for too (LeakSanitizer, on with ASan); the whole suite runs clean
# without suppressions.
SANITIZE_ENV = ASAN_OPTIONS=detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all deps configure build run test bench data screenshots package clean format test-sanitize fuzz fuzz-merge replay-check

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS); fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/kisharin

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitize: deps
	@if [ ! -f $(SANITIZE_BUILD)/build.ninja ]; then cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DKISHARIN_SANITIZE=ON $(CMAKE_FLAGS); fi
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	$(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j $(JOBS)

# `make fuzz FUZZ_SECONDS=600` runs every fuzz target for that long; `make fuzz-merge`
# keeps the new inputs that reach new code in fuzz/corpus/.
fuzz: deps
	@if [ ! -f $(FUZZ_BUILD)/build.ninja ]; then cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKISHARIN_FUZZ=ON -DKISHARIN_WERROR=OFF $(CMAKE_FLAGS); fi
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target kisharin_fuzzers
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run.sh $(FUZZ_BUILD)

fuzz-merge:
	fuzz/run.sh --merge $(FUZZ_BUILD)

# Simulated games replayed from their records to the same ends (`make replay-check GAMES=200`;
# 1000 unless given, about nine minutes).
replay-check: build
	BUILD=$(BUILD) scripts/replay-check.sh $(GAMES)

bench: build
	@set -e; for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b --benchmark_repetitions=3 --benchmark_report_aggregates_only=true; done

data: build
	./$(BUILD)/tools/databuilder/kisharin-databuilder third_party/opendata data
	./$(BUILD)/tools/traingen/kisharin-traingen data

# The package, then lintian's judgement of it (errors and warnings without an override fail).
package: build
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error,warning $$(ls -t $(BUILD)/kisharin_*.deb | head -1)

screenshots: build
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tools/screenshots/kisharin-screenshots docs/screenshots

format:
	clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'tools/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp')

clean:
	rm -rf $(BUILD)
