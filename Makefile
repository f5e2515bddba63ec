# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench data screenshots package clean format

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

bench: build
	@set -e; for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b --benchmark_repetitions=3 --benchmark_report_aggregates_only=true; done

data: build
	./$(BUILD)/tools/databuilder/kisharin-databuilder third_party/opendata data
	./$(BUILD)/tools/traingen/kisharin-traingen data

package: build
	cd $(BUILD) && cpack -G DEB

screenshots: build
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tools/screenshots/kisharin-screenshots docs/screenshots

format:
	clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'tools/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp')

clean:
	rm -rf $(BUILD)
