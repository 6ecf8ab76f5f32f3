# Thin wrappers over cmake and ctest.
BUILD    ?= build
CMFLAGS  ?=
JOBS     ?= $(shell nproc)
DATA     ?=
PREFIX   ?= /usr/local

ifeq ($(SANITIZE),1)
BUILD    := build-sanitize
CMFLAGS  += -DATHANOR_SANITIZE=ON
endif

.PHONY: all bootstrap configure build test run bench install clean

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

clean:
	rm -rf build build-sanitize
