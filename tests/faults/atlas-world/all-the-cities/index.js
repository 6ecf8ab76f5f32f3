// A few places in the shape of the GeoNames package, each with the zone the stand-in zone
// finder gives it. ATHANOR_ATLAS_WORLD=old is the atlas before: Vatican City (a time-zone
// table of its own) still there, Madrid not yet.
const places = require('./places.json');
const old = process.env.ATHANOR_ATLAS_WORLD === 'old';
module.exports = places.filter(p => (old ? !p.onlyNew : !p.onlyOld));
