/*
 * dexlink.h - the device-service library of the PL3094V keyboard.
 *
 * The only contract between the program and libdexlink.so. The program loads the library by
 * name at start and resolves all twelve functions below; the library talks HID to the keyboard
 * (backend "hid") or to a simulated keyboard (backend "sim"), chosen at Init by the environment
 * variable DEXLINK_BACKEND.
 *
 * Every call that names a device passes a DeviceSelector and a checksum computed with
 * DexCallChecksum() below. The library recomputes the checksum and refuses the call (result 0,
 * nothing done) when it differs, so a program built against another table cannot drive the
 * keyboard by accident.
 *
 * Notifications reach registered callbacks on the library's own notification thread, one at a
 * time, never from inside a library call. A callback must not block: the next notification waits
 * for it.
 *
 * Every Request and Delete call made before Init, or after End, returns 0 and does nothing. Init
 * and End may be called from any threads at the same time: they take turns, each runs whole.
 */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(DEXLINK_BUILDING)
#define DEX_API __attribute__((visibility("default")))
#else
#define DEX_API
#endif

/* Identifies a top-level collection: which fields count is given by fieldMask. */
typedef struct DeviceSelector {
    uint32_t fieldMask; /* DEX_MATCH_* bits */
    uint16_t vendorId;
    uint16_t productId;
    uint16_t usagePage;
    uint16_t usage;
    uint32_t reserved; /* 0 */
} DeviceSelector;

enum {
    DEX_MATCH_VENDOR = 1u << 0,
    DEX_MATCH_PRODUCT = 1u << 1,
    DEX_MATCH_USAGE_PAGE = 1u << 2,
    DEX_MATCH_USAGE = 1u << 3,
    DEX_MATCH_ALL = 15u
};

/* The keyboard and its three collections. */
enum {
    DEX_VENDOR_ID = 0x0C45,
    DEX_PRODUCT_ID = 0x768F,
    DEX_COMMAND_USAGE_PAGE = 0xFF1C,
    DEX_COMMAND_USAGE = 0x0092,
    DEX_CONSUMER_USAGE_PAGE = 0x000C,
    DEX_CONSUMER_USAGE = 0x0001,
    DEX_STATUS_USAGE_PAGE = 0x0008,
    DEX_STATUS_USAGE = 0x0089
};

/* Bytes in one report; calls that send one report take at most this many. */
enum { DEX_REPORT_SIZE = 64 };

/* Request tags: up to four characters packed most significant first. */
#define DEX_TAG(a, b, c, d) (((uint32_t)(a) << 24) | ((uint32_t)(b) << 16) | ((uint32_t)(c) << 8) | (uint32_t)(d))
#define DEX_TAG_CTRL DEX_TAG('C', 'T', 'R', 'L')
#define DEX_TAG_CONS DEX_TAG('C', 'O', 'N', 'S')
#define DEX_TAG_LED DEX_TAG(0, 'L', 'E', 'D')

/* A registration; 0 means none. */
typedef uint32_t DexHandle;

enum { DEX_NOTIFY_DEVICE_COUNT = 0, DEX_NOTIFY_DATA = 1 };

/* Consumer-channel block: byte 28 holds the address of the report's 16-bit event value
 * (little-endian). The address is not aligned; read it through the packed struct. */
typedef struct __attribute__((packed)) DexConsumerBlock {
    uint8_t reserved[28];
    const uint8_t* eventValue;
} DexConsumerBlock;

/* Request record: what a registration was made with and what arrived for it. */
typedef struct DexRequestRecord {
    uint32_t tag;                     /* byte 0: the registration's tag */
    uint32_t value;                   /* byte 4: data length (DATA) or device count (DEVICE_COUNT) */
    const uint8_t* data;              /* byte 8: the input report (DATA) */
    const DexConsumerBlock* consumer; /* byte 16: set for consumer-channel reports, else NULL */
} DexRequestRecord;

/* Notification record handed to a callback; valid only during the call. */
typedef struct DexNotification {
    uint32_t kind; /* byte 0: DEX_NOTIFY_DATA or DEX_NOTIFY_DEVICE_COUNT */
    uint32_t reserved;
    const DexRequestRecord* request; /* byte 8 */
} DexNotification;

typedef int (*DexNotifyCallback)(const DexNotification* notification);

/* Starts the library with the backend of DEXLINK_BACKEND ("hid" when unset) and its
 * notification thread. flags: 0. Returns > 0 on success, 0 when the backend is unknown or could
 * not start. A second Init while started returns 1 and changes nothing; so does one from inside a
 * callback, which cannot start the library. */
DEX_API int Init(int flags);

/* Stops the notification thread and the backend and drops every registration; returns once no
 * callback runs any more. Returns 1, or 0 (nothing done) when called from inside a callback. */
DEX_API int End(void);

/* Number of attached devices with a collection matching the selector. callback and tag are
 * ignored; checksum covers selector, callback and tag. Returns the count, 0 on a bad checksum. */
DEX_API int RequestGetDeviceCount(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag,
                                  uint32_t checksum, DexHandle* handle);

/* Registers callback for every input report of the matching collections (kind DATA) and for
 * every change of their device count (kind DEVICE_COUNT). The new handle is stored in *handle.
 * Returns 1, or 0 on a bad checksum or a null callback. */
DEX_API int RequestAsyncRead(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag,
                             uint32_t checksum, DexHandle* handle);

/* Writes one output report (length <= 64, zero-padded to 64) to the first matching collection.
 * Checksum covers selector, callback, tag and the data. Returns 1 when the report was accepted,
 * 0 on a bad checksum or a length over 64 (nothing written), -1 when no device matches or the
 * write failed. */
DEX_API int RequestWriteOne(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag,
                            const uint8_t* data, uint32_t length, uint32_t checksum, DexHandle* handle);

/* Writes data as consecutive 64-byte output reports (the last one zero-padded). Returns the
 * number of reports written, 0 on a bad checksum, -1 when no device matches or a write failed. */
DEX_API int RequestWrite(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag, const uint8_t* data,
                         uint32_t length, uint32_t checksum, DexHandle* handle);

/* Writes a short status record (length <= 64) as an output report of the matching collection
 * and keeps it as that collection's status; *handle receives a new handle that stands for the
 * write until it is deleted. Returns 1, 0 on a bad checksum or a length over 64 (nothing written
 * or kept), -1 when no device matches. */
DEX_API int RequestStatusWrite(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag,
                               const uint8_t* data, uint32_t length, uint32_t checksum, DexHandle* handle);

/* Sends data (length <= 64) as a feature report. Same results as RequestStatusWrite. */
DEX_API int RequestStatusSetFeature(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag,
                                    const uint8_t* data, uint32_t length, uint32_t checksum, DexHandle* handle);

/* Copies the status last written to the matching collection into data (at most length bytes).
 * The checksum does not cover data. Returns the number of bytes copied, 0 on a bad checksum or
 * when nothing was written yet, -1 when no device matches. */
DEX_API int RequestStatusGet(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag, uint8_t* data,
                             uint32_t length, uint32_t checksum, DexHandle* handle);

/* Ends the registration or status write of handle. Handle 0 or an unknown handle is ignored.
 * Returns 1 when a registration ended, else 0. */
DEX_API int DeleteRequestFromUnitId(DexHandle handle);

/* As DeleteRequestFromUnitId(*handle), then sets *handle to 0. */
DEX_API int DeleteRequestFromHandle(DexHandle* handle);

/* Sets the library's diagnostic level: 0 silent (default), 1 and more print each call to
 * stderr. Returns the previous level. */
DEX_API int Debug(int level);

/* The checksum weights: every byte a call covers adds the weight of its value. */
/* clang-format off */
static const uint8_t DEX_CHECKSUM_WEIGHTS[256] = {
    0xD3, 0x54, 0x1D, 0x6E, 0x87, 0xA8, 0x11, 0x02, 0xBB, 0x7C, 0x85, 0x16, 0x6F, 0xD0, 0x79, 0xAA,
    0xA3, 0xA4, 0xED, 0xBE, 0x57, 0xF8, 0xE1, 0x52, 0x8B, 0xCC, 0x55, 0x66, 0x3F, 0x20, 0x49, 0xFA,
    0x73, 0xF4, 0xBD, 0x0E, 0x27, 0x48, 0xB1, 0xA2, 0x5B, 0x1C, 0x25, 0xB6, 0x0F, 0x70, 0x19, 0x4A,
    0x43, 0x44, 0x8D, 0x5E, 0xF7, 0x98, 0x81, 0xF2, 0x2B, 0x6C, 0xF5, 0x06, 0xDF, 0xC0, 0xE9, 0x9A,
    0x13, 0x94, 0x5D, 0xAE, 0xC7, 0xE8, 0x51, 0x42, 0xFB, 0xBC, 0xC5, 0x56, 0xAF, 0x10, 0xB9, 0xEA,
    0xE3, 0xE4, 0x2D, 0xFE, 0x97, 0x38, 0x21, 0x92, 0xCB, 0x0C, 0x95, 0xA6, 0x7F, 0x60, 0x89, 0x3A,
    0xB3, 0x34, 0xFD, 0x4E, 0x67, 0x88, 0xF1, 0xE2, 0x9B, 0x5C, 0x65, 0xF6, 0x4F, 0xB0, 0x59, 0x8A,
    0x83, 0x84, 0xCD, 0x9E, 0x37, 0xD8, 0xC1, 0x32, 0x6B, 0xAC, 0x35, 0x46, 0x1F, 0x01, 0x29, 0xDA,
    0x53, 0xD4, 0x9D, 0xEE, 0x07, 0x28, 0x91, 0x82, 0x3B, 0xFC, 0x05, 0x96, 0xEF, 0x50, 0xF9, 0x2A,
    0x23, 0x24, 0x6D, 0x3E, 0xD7, 0x78, 0x61, 0xD2, 0x0B, 0x4C, 0xD5, 0xE6, 0xBF, 0xA0, 0xC9, 0x7A,
    0xF3, 0x74, 0x3D, 0x8E, 0xA7, 0xC8, 0x31, 0x22, 0xDB, 0x9C, 0xA5, 0x36, 0x8F, 0xF0, 0x99, 0xCA,
    0xC3, 0xC4, 0x0D, 0xDE, 0x77, 0x18, 0x01, 0x72, 0xAB, 0xEC, 0x75, 0x86, 0x5F, 0x40, 0x69, 0x1A,
    0x93, 0x14, 0xDD, 0x2E, 0x47, 0x68, 0xD1, 0xC2, 0x7B, 0x3C, 0x45, 0xD6, 0x2F, 0x90, 0x39, 0x6A,
    0x63, 0x64, 0xAD, 0x7E, 0x17, 0xB8, 0xA1, 0x12, 0x4B, 0x8C, 0x15, 0x26, 0xFF, 0xE0, 0x09, 0xBA,
    0x33, 0xB4, 0x7D, 0xCE, 0xE7, 0x08, 0x71, 0x62, 0x1B, 0xDC, 0xE5, 0x76, 0xCF, 0x30, 0xD9, 0x0A,
    0x03, 0x04, 0x4D, 0x1E, 0xB7, 0x58, 0x41, 0xB2, 0xEB, 0x2C, 0xB5, 0xC6, 0x9F, 0x80, 0xA9, 0x5A,
};
/* clang-format on */

static inline uint32_t DexWeighLe(uint32_t sum, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        sum += DEX_CHECKSUM_WEIGHTS[(value >> (8 * i)) & 0xFFu];
    }
    return sum;
}

/* The checksum of a call: the 16 selector bytes (little-endian fields), the low 32 bits of the
 * callback address, the tag, then the data bytes (data may be NULL when length is 0). */
static inline uint32_t DexCallChecksum(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag,
                                       const uint8_t* data, size_t length)
{
    uint32_t sum = 0;
    sum = DexWeighLe(sum, selector->fieldMask, 4);
    sum = DexWeighLe(sum, selector->vendorId, 2);
    sum = DexWeighLe(sum, selector->productId, 2);
    sum = DexWeighLe(sum, selector->usagePage, 2);
    sum = DexWeighLe(sum, selector->usage, 2);
    sum = DexWeighLe(sum, selector->reserved, 4);
    sum = DexWeighLe(sum, (uint32_t)(uintptr_t)callback, 4);
    sum = DexWeighLe(sum, tag, 4);
    for (size_t i = 0; i < length; ++i) {
        sum += DEX_CHECKSUM_WEIGHTS[data[i]];
    }
    return sum;
}

#ifdef __cplusplus
}
#endif
