# Thin wrappers over cmake and ctest.
BUILD    ?= build
CMFLAGS  ?=
JOBS     ?= $(shell nproc)
DATA     ?=
PREFIX   ?= /usr/local

ifeq ($(SANITIZE),1)
BUILD    := build-sanitize
override CMFLAGS += -DATHANOR_SANITIZE=ON
# Leaks are reported too (the suppressions, for system libraries only, come with each test).
export ASAN_OPTIONS := detect_leaks=1
export UBSAN_OPTIONS := print_stacktrace=1
endif

# The compiler cache, when there is one, keyed on paths relative to the checkout, so that a
# fresh clone reuses what an earlier build of the same sources compiled.
ifneq ($(shell command -v ccache),)
override CMFLAGS += -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
endif

.PHONY: all bootstrap configure build test run bench install clean fuzz

# make fuzz SECONDS=N: every libFuzzer program of fuzz/ for N seconds, one after another, in a
# clang build of its own (build-fuzz); what they learn goes to build-fuzz/corpus, findings
# to build-fuzz/findings. FUZZ=NAME runs one program only.
SECONDS  ?= 60
FUZZ     ?= archive current corrections localities timezones settings knowledge lists texts emf jpeg csv cli

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMFLAGS)

configure: bootstrap $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600

# Starts the program; the first start seeds the program folder from data/.
run: build
	$(BUILD)/athanor $(if $(DATA),--data $(DATA))

bench: build
	@for b in $(BUILD)/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

# The programs, data, manuals, desktop entry and icons under PREFIX (bin/, share/).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

build-fuzz/build.ninja:
	@scripts/bootstrap --fuzz
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DATHANOR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo

fuzz: build-fuzz/build.ninja
	cmake --build build-fuzz -j $(JOBS) --target fuzzers
	@for t in $(FUZZ); do \
	  mkdir -p build-fuzz/corpus/$$t build-fuzz/findings/$$t; \
	  echo "== fuzz_$$t, $(SECONDS) s"; \
	  QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp build-fuzz/fuzz_$$t -max_total_time=$(SECONDS) -timeout=10 -rss_limit_mb=2048 \
	    -print_final_stats=1 -artifact_prefix=build-fuzz/findings/$$t/ \
	    build-fuzz/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

clean:
	rm -rf build build-sanitize build-fuzz
