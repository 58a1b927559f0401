.pragma library

// The time a clock shows at the moment now. Without a shift, the local time; with one, the
// universal time moved by the shift in hours (5.5 is five and a half hours east). The
// fraction of the shift is taken below the whole hours (-5.5 is six hours west plus half an
// hour), so that hours and minutes together always move by exactly the shift.
function read(now, shift) {
    if (!shift) {
        return { hours: now.getHours(), minutes: now.getMinutes(), seconds: now.getUTCSeconds() }
    }
    var whole = Math.floor(shift)
    return {
        hours: now.getUTCHours() + whole,
        minutes: now.getUTCMinutes() + Math.round((shift - whole) * 60),
        seconds: now.getUTCSeconds()
    }
}

// "hh:mm" of hours and minutes that may lie outside their ranges.
function text(hours, minutes) {
    var total = ((hours * 60 + minutes) % 1440 + 1440) % 1440
    var h = Math.floor(total / 60)
    var m = total % 60
    return (h < 10 ? "0" : "") + h + ":" + (m < 10 ? "0" : "") + m
}
