# The two commands of the README: `make run` and `make test`. Both install
# what is missing first, so they work on a fresh machine.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
JOBS       ?= $(shell nproc)

.PHONY: all deps build run test test-plain test-asan bench pictures package package-check clean

all: build

deps:
	@bash scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/kalmor

test-plain: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKALMOR_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) -LE nosan

test: test-plain package-check test-asan

# A Debian package of the program (build/kalmor_<version>_<arch>.deb).
package: build
	cd $(BUILD) && cpack -G DEB

# The package unpacked into a scratch root; its kalmor-cli reads a station.
package-check: package
	bash tests/package_check.sh $(BUILD)

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target benchmarks
	@for b in $(BENCH_BUILD)/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; \
	  echo "== $$b"; QT_QPA_PLATFORM=offscreen "$$b" || exit 1; \
	done

# Draws the element pictures again into resources/ from their drawing rules.
pictures: build
	./$(BUILD)/tools/kalmor-pictures resources/elements

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD)
